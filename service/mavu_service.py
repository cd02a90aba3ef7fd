#!/usr/bin/env python3
"""The local Mavu service: the web-site, API and support hosts of the service (API.md next
to this file) over HTTPS on one loopback port, for running Mavu on a machine of its own.

    python3 service/mavu_service.py --dir <data folder> [--port <port>] [--exit-with-stdin]

Everything lives in the data folder: a certificate for 127.0.0.1 made there on first start
(the file Mavu is told to trust), the accounts (passwords only as salted hashes), the
sign-in tokens, and the uploaded files under files/ with the links that open them,
https://127.0.0.1:<port>/f/<id>. Prints "READY <port> <certificate>" once it listens.
It knows the account user@example.com with the password "secret" from the start.
"""
import argparse
import base64
import hashlib
import json
import os
import re
import secrets
import ssl
import subprocess
import sys
import threading
import urllib.parse
from email.parser import BytesParser
from email.policy import default as default_policy
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

KNOWN_EMAIL = "user@example.com"
KNOWN_PASSWORD = "secret"
SOCIAL_NETWORKS = {"facebook", "vk", "twitter", "odnoklassniki"}
FILE_ID = re.compile(r"^[0-9a-f]{12}$")
CERTIFICATE_DAYS = 825


def write_atomically(path, data):
    temporary = "%s.%s.tmp" % (path, secrets.token_hex(4))
    with open(temporary, "wb") as out:
        out.write(data)
    os.replace(temporary, path)


def password_hash(password, salt=None):
    salt = salt or secrets.token_hex(16)
    digest = hashlib.pbkdf2_hmac("sha256", password.encode(), salt.encode(), 100000).hex()
    return "%s$%s" % (salt, digest)


def password_matches(stored, password):
    salt = stored.split("$", 1)[0]
    return bool(password) and secrets.compare_digest(stored, password_hash(password, salt))


class State:
    """Accounts, tokens and file records, kept in the data folder."""

    def __init__(self, folder):
        self.lock = threading.Lock()
        self.folder = folder
        self.files_folder = os.path.join(folder, "files")
        os.makedirs(self.files_folder, mode=0o700, exist_ok=True)
        self.accounts = self.load("accounts.json")   # e-mail -> password hash
        self.tokens = self.load("tokens.json")       # token -> e-mail
        self.codes = {}                              # one-time social sign-in code -> e-mail
        self.tickets = []
        self.events = []
        self.config = {"about": {}, "update": None, "max_post_size": 10485760}
        if KNOWN_EMAIL not in self.accounts:
            self.add_account(KNOWN_EMAIL, KNOWN_PASSWORD)

    def load(self, name):
        try:
            with open(os.path.join(self.folder, name), encoding="utf-8") as source:
                return json.load(source)
        except (OSError, ValueError):
            return {}

    def save(self, name, value):
        write_atomically(os.path.join(self.folder, name), json.dumps(value, indent=1).encode())

    def add_account(self, email, password):
        self.accounts[email] = password_hash(password)
        self.save("accounts.json", self.accounts)

    def password_ok(self, email, password):
        return email in self.accounts and password_matches(self.accounts[email], password)

    def new_token(self, email):
        token = secrets.token_hex(16)
        self.add_token(token, email)
        return token

    def add_token(self, token, email):
        self.tokens[token] = email
        self.save("tokens.json", self.tokens)

    # ---- files: files/<id> holds the bytes, files/<id>.json the record ----
    def record_path(self, file_id):
        return os.path.join(self.files_folder, file_id + ".json")

    def file_record(self, file_id):
        if not FILE_ID.match(file_id):
            return None
        try:
            with open(self.record_path(file_id), encoding="utf-8") as source:
                return json.load(source)
        except (OSError, ValueError):
            return None

    def save_record(self, record):
        write_atomically(self.record_path(record["id"]), json.dumps(record).encode())

    def store_bytes(self, record, data):
        write_atomically(os.path.join(self.files_folder, record["id"]), data)
        record["fileSize"], record["uploaded"] = len(data), True
        record["sha256"] = hashlib.sha256(data).hexdigest()
        self.save_record(record)

    def file_bytes(self, file_id):
        with open(os.path.join(self.files_folder, file_id), "rb") as source:
            return source.read()

    def all_records(self):
        names = sorted(n for n in os.listdir(self.files_folder) if n.endswith(".json"))
        records = (self.file_record(n[:-len(".json")]) for n in names)
        return {r["id"]: r for r in records if r}


STATE = None


def make_certificate(folder):
    """A self-signed certificate for 127.0.0.1, made anew when missing or about to expire."""
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    fresh = os.path.exists(cert) and subprocess.run(
        ["openssl", "x509", "-checkend", "86400", "-noout", "-in", cert],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
    if not fresh:
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                        "-keyout", key, "-out", cert, "-days", str(CERTIFICATE_DAYS),
                        "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.chmod(key, 0o600)
    return cert, key


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    # ---- plumbing -------------------------------------------------------------------
    def body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def reply(self, status, payload=None, content_type="application/json", headers=None):
        if isinstance(payload, (dict, list)):
            data = json.dumps(payload).encode()
        elif isinstance(payload, str):
            data = payload.encode()
        else:
            data = payload or b""
        self.send_response(status)
        for name, value in (headers or {}).items():
            self.send_header(name, value)
        if data or status not in (204, 302):
            self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def error(self, status, code):
        self.reply(status, {"error": code})

    def form(self, raw):
        return {k: v[0] for k, v in urllib.parse.parse_qs(raw.decode(), keep_blank_values=True).items()}

    def bearer_email(self):
        value = self.headers.get("Authorization", "")
        if not value.startswith("Bearer "):
            return None
        return STATE.tokens.get(value[len("Bearer "):])

    def origin(self):
        return "https://127.0.0.1:%d" % self.server.server_address[1]

    def intercept(self, path):
        """Answers a request before the routes; True when it did. The tests' stand-in uses it."""
        return False

    routes = []

    def dispatch(self):
        url = urllib.parse.urlsplit(self.path)
        path, query = url.path, dict(urllib.parse.parse_qsl(url.query))
        raw = self.body()
        with STATE.lock:
            if self.intercept(path):
                return
            for method, prefix, handler in self.routes:
                if self.command == method and (path == prefix or
                                               (prefix.endswith("/") and path.startswith(prefix))):
                    return handler(self, path, query, raw)
        self.error(404, "not_found")

    def do_GET(self):
        self.dispatch()

    def do_POST(self):
        self.dispatch()

    def do_PUT(self):
        self.dispatch()

    # ---- web-site host -------------------------------------------------------------------
    def email_check(self, path, query, raw):
        email = self.form(raw).get("email", "")
        if "@" not in email:
            return self.error(400, "invalid_email")
        self.reply(200, {"exists": email.lower() in STATE.accounts})

    def token(self, path, query, raw):
        form = self.form(raw)
        if form.get("grant_type") == "password":
            email = form.get("username", "").lower()
            if not STATE.password_ok(email, form.get("password", "")):
                return self.error(401, "invalid_grant")
        elif form.get("grant_type") == "authorization_code":
            email = STATE.codes.pop(form.get("code", ""), None)
            if email is None:
                return self.error(400, "invalid_grant")
        else:
            return self.error(400, "unsupported_grant_type")
        self.reply(200, {"access_token": STATE.new_token(email), "token_type": "bearer"})

    def register(self, path, query, raw):
        form = self.form(raw)
        email, password = form.get("email", "").lower(), form.get("password", "")
        if email in STATE.accounts:
            return self.error(409, "email_taken")
        if not password or "@" not in email:
            return self.error(400, "invalid_password")
        STATE.add_account(email, password)
        self.reply(201, {"access_token": STATE.new_token(email)})

    def social(self, path, query, raw):
        network = path.rsplit("/", 1)[-1]
        redirect = urllib.parse.urlsplit(query.get("redirect_uri", ""))
        if network not in SOCIAL_NETWORKS or redirect.scheme != "http" \
                or redirect.hostname != "127.0.0.1" or not query.get("state"):
            return self.error(400, "invalid_redirect")
        code = secrets.token_hex(8)
        STATE.codes[code] = KNOWN_EMAIL
        target = query["redirect_uri"] + "?" + urllib.parse.urlencode(
            {"code": code, "state": query["state"]})
        self.reply(302, None, headers={"Location": target})

    def history(self, path, query, raw):
        parts = path.split("/")
        if len(parts) != 5:
            return self.reply(403, "forbidden", "text/plain")
        token, sig, seconds = parts[2], parts[3], parts[4]
        good = hashlib.md5((token + seconds).encode()).hexdigest()
        if token not in STATE.tokens or sig != good:
            return self.reply(403, "forbidden", "text/plain")
        self.reply(200, "<html><body>History</body></html>", "text/html")

    def public_file(self, path, query, raw):
        record = STATE.file_record(path.rsplit("/", 1)[-1])
        if record is None or not record.get("uploaded"):
            return self.reply(404, "not found", "text/plain")
        # Pictures open in the browser; anything else (a page, a script) only downloads.
        mime = record.get("mimeType") or ""
        if mime.startswith("image/") and "svg" not in mime:
            return self.reply(200, STATE.file_bytes(record["id"]), mime,
                              {"X-Content-Type-Options": "nosniff"})
        self.reply(200, STATE.file_bytes(record["id"]), "application/octet-stream",
                   {"Content-Disposition": "attachment", "X-Content-Type-Options": "nosniff"})

    # ---- API host ------------------------------------------------------------------------
    def about(self, path, query, raw):
        email = self.bearer_email()
        if email is None:
            return self.error(401, "invalid_token")
        info = {"name": email.split("@")[0], "email": email, "avatar": "",
                "quota": 1073741824, "usage": 1048576,
                "max_post_size": STATE.config["max_post_size"]}
        info.update(STATE.config["about"])
        self.reply(200, info)

    def file_record(self, path, query, raw):
        if self.bearer_email() is None:
            return self.error(401, "invalid_token")
        try:
            meta = json.loads(raw or b"{}")
        except ValueError:
            return self.error(400, "bad_json")
        if int(meta.get("fileSize") or 0) > STATE.config["max_post_size"]:
            return self.error(413, "too_large")
        file_id = secrets.token_hex(6)
        record = {"id": file_id, "alternateLink": "%s/f/%s" % (self.origin(), file_id),
                  "selfLink": "%s/drive/v1/files/%s" % (self.origin(), file_id),
                  "title": meta.get("title", ""), "description": meta.get("description", ""),
                  "mimeType": meta.get("mimeType", ""), "fileSize": 0, "uploaded": False}
        STATE.save_record(record)
        self.reply(200, {k: record[k] for k in ("id", "alternateLink", "selfLink")})

    def file_upload(self, path, query, raw):
        if self.bearer_email() is None:
            return self.error(401, "invalid_token")
        record = STATE.file_record(path.rsplit("/", 1)[-1])
        if record is None:
            return self.error(404, "unknown_file")
        if len(raw) > STATE.config["max_post_size"]:
            return self.error(413, "too_large")
        STATE.store_bytes(record, raw)
        self.reply(200, {"id": record["id"], "alternateLink": record["alternateLink"],
                         "fileSize": len(raw)})

    def update_info(self, path, query, raw):
        update = STATE.config["update"]
        if not update:
            return self.reply(204)
        package = update_package_bytes(update)
        digest = hashlib.sha256(package).hexdigest()
        if update.get("bad_sha256"):
            digest = hashlib.sha256(package + b"x").hexdigest()
        size = len(package) + int(update.get("bad_size") or 0)
        self.reply(200, {"version": update["version"], "format": update.get("format", "exe"),
                         "url": update.get("package_url") or self.origin() + "/update/v1/package/mavu",
                         "size": size, "sha256": digest})

    def update_package(self, path, query, raw):
        update = STATE.config["update"]
        if not update:
            return self.error(404, "no_package")
        if update.get("package_redirect"):
            return self.reply(307, None, headers={"Location": update["package_redirect"]})
        self.reply(200, update_package_bytes(update), "application/octet-stream")

    # ---- support host and analytics -----------------------------------------------------
    def ping(self, path, query, raw):
        self.reply(200, "pong", "text/plain")

    def feedback(self, path, query, raw):
        content_type = self.headers.get("Content-Type", "")
        message = BytesParser(policy=default_policy).parsebytes(
            b"Content-Type: " + content_type.encode() + b"\r\n\r\n" + raw)
        ticket = {}
        for part in message.iter_parts():
            name = part.get_param("name", header="content-disposition")
            ticket[name] = {"content_type": part.get_content_type(),
                            "data": part.get_payload(decode=True).decode("utf-8", "replace")}
        STATE.tickets.append(ticket)
        self.reply(201, {"id": len(STATE.tickets)})

    def collect(self, path, query, raw):
        STATE.events.append({"query": query, "body": json.loads(raw or b"{}")})
        self.reply(204)


Handler.routes = [
    ("POST", "/api/v1/email/check", Handler.email_check),
    ("POST", "/oauth/token", Handler.token),
    ("POST", "/api/v1/register", Handler.register),
    ("GET", "/oauth/social/", Handler.social),
    ("GET", "/login/", Handler.history),
    ("GET", "/f/", Handler.public_file),
    ("GET", "/drive/v1/about", Handler.about),
    ("POST", "/drive/v1/files", Handler.file_record),
    ("PUT", "/upload/drive/v1/files/", Handler.file_upload),
    ("GET", "/update/v1/latest", Handler.update_info),
    ("GET", "/update/v1/package/", Handler.update_package),
    ("GET", "/ping", Handler.ping),
    ("POST", "/support/tickets/", Handler.feedback),
    ("POST", "/mp/collect", Handler.collect),
]


def update_package_bytes(update):
    return base64.b64decode(update["package_b64"])


class Server(ThreadingHTTPServer):
    """Clients that hang up or fail the handshake are not worth a traceback."""

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], (ConnectionError, ssl.SSLError, OSError)):
            super().handle_error(request, client_address)


def exit_with_stdin():
    """The starter holds our stdin open; when it ends (even by a crash) the pipe closes."""
    sys.stdin.buffer.read()
    os._exit(0)


def serve(handler=Handler, arguments=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--dir", required=True, help="data folder: certificate, accounts, files")
    parser.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (0: any free one)")
    parser.add_argument("--exit-with-stdin", action="store_true", help="end when stdin closes")
    args = parser.parse_args(arguments)
    global STATE
    os.umask(0o077)
    os.makedirs(args.dir, mode=0o700, exist_ok=True)
    STATE = State(args.dir)
    cert, key = make_certificate(args.dir)
    server = Server(("127.0.0.1", args.port), handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True,
                                         do_handshake_on_connect=False)
    if args.exit_with_stdin:
        threading.Thread(target=exit_with_stdin, daemon=True).start()
    print("READY %d %s" % (server.server_address[1], cert), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(serve())
