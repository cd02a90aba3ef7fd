#!/usr/bin/env python3
"""Local stand-in of the Mavu web service for the tests (API in API.md next to this file).

Serves the web-site, API and support hosts over HTTPS on one loopback port with a
certificate it makes for 127.0.0.1 at start. Prints "READY <port> <cert>" when listening.
"""
import argparse
import base64
import hashlib
import json
import os
import secrets
import ssl
import io
import subprocess
import sys
import threading
import urllib.parse
import zipfile
from email.parser import BytesParser
from email.policy import default as default_policy
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

KNOWN_EMAIL = "user@example.com"
KNOWN_PASSWORD = "secret"
SOCIAL_NETWORKS = {"facebook", "vk", "twitter", "odnoklassniki"}


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.accounts = {KNOWN_EMAIL: KNOWN_PASSWORD}
        self.tokens = {}          # token -> e-mail
        self.codes = {}           # one-time sign-in code -> e-mail
        self.files = {}           # id -> record
        self.tickets = []
        self.events = []
        self.requests = []
        self.config = {"down": False, "about": {}, "update": None, "max_post_size": 10485760,
                       "upload_fault": None, "record_redirect": None, "record_reply": {},
                       "record_xml": False, "record_padding": 0}

    def new_token(self, email):
        token = secrets.token_hex(16)
        self.tokens[token] = email
        return token


STATE = State()


def make_certificate(folder):
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    if not os.path.exists(cert):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                        "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1",
                        "-addext", "subjectAltName=IP:127.0.0.1"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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

    def record(self, path):
        STATE.requests.append({"method": self.command, "path": path,
                               "headers": {k: v for k, v in self.headers.items()}})

    def dispatch(self):
        url = urllib.parse.urlsplit(self.path)
        path, query = url.path, dict(urllib.parse.parse_qsl(url.query))
        raw = self.body()
        with STATE.lock:
            if not path.startswith("/_test/"):
                self.record(path)
                if STATE.config["down"]:
                    return self.error(503, "down")
            for method, prefix, handler in ROUTES:
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
            if STATE.accounts.get(email) != form.get("password") or not form.get("password"):
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
        if not password:
            return self.error(400, "invalid_password")
        STATE.accounts[email] = password
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

    # ---- API host ------------------------------------------------------------------------
    def about(self, path, query, raw):
        email = self.bearer_email()
        if email is None:
            return self.error(401, "invalid_token")
        info = {"name": "Test User", "email": email, "avatar": "https://127.0.0.1/avatar.png",
                "quota": 1073741824, "usage": 1048576,
                "max_post_size": STATE.config["max_post_size"]}
        info.update(STATE.config["about"])
        self.reply(200, info)

    def file_record(self, path, query, raw):
        if STATE.config["record_redirect"]:
            return self.reply(307, None, headers={"Location": STATE.config["record_redirect"]})
        if self.bearer_email() is None:
            return self.error(401, "invalid_token")
        try:
            meta = json.loads(raw or b"{}")
        except ValueError:
            return self.error(400, "bad_json")
        if int(meta.get("fileSize") or 0) > STATE.config["max_post_size"]:
            return self.error(413, "too_large")
        file_id = secrets.token_hex(6)
        port = self.server.server_address[1]
        record = {"id": file_id, "alternateLink": "https://127.0.0.1:%d/f/%s" % (port, file_id),
                  "selfLink": "https://127.0.0.1:%d/drive/v1/files/%s" % (port, file_id),
                  "title": meta.get("title", ""), "description": meta.get("description", ""),
                  "mimeType": meta.get("mimeType", ""), "fileSize": 0, "uploaded": False}
        STATE.files[file_id] = record
        answer = {k: record[k] for k in ("id", "alternateLink", "selfLink")}
        answer.update(STATE.config["record_reply"])
        if STATE.config["record_padding"]:
            answer["padding"] = "x" * STATE.config["record_padding"]
        if STATE.config["record_xml"]:
            xml = "<file>" + "".join("<%s>%s</%s>" % (k, v, k) for k, v in answer.items()) + "</file>"
            return self.reply(200, xml, "application/xml")
        self.reply(200, answer)

    def file_upload(self, path, query, raw):
        if self.bearer_email() is None:
            return self.error(401, "invalid_token")
        record = STATE.files.get(path.rsplit("/", 1)[-1])
        if record is None:
            return self.error(404, "unknown_file")
        if len(raw) > STATE.config["max_post_size"]:
            return self.error(413, "too_large")
        fault = STATE.config["upload_fault"]
        if fault:
            return self.upload_fault(fault, record, raw)
        record["fileSize"], record["uploaded"] = len(raw), True
        record["sha256"] = hashlib.sha256(raw).hexdigest()
        self.reply(200, {"id": record["id"], "alternateLink": record["alternateLink"],
                         "fileSize": len(raw)})

    def upload_fault(self, fault, record, raw):
        """The bytes arrive but the upload fails: an error status, a short size, an empty
        answer or a connection dropped without any answer."""
        if fault in ("500", "413"):
            return self.error(int(fault), "upload_failed")
        if fault == "short":
            return self.reply(200, {"id": record["id"], "alternateLink": record["alternateLink"],
                                    "fileSize": len(raw) // 2})
        if fault == "empty":
            return self.reply(200, b"", "application/json")
        self.close_connection = True
        self.connection.shutdown(2)

    def update_info(self, path, query, raw):
        update = STATE.config["update"]
        if not update:
            return self.reply(204)
        package = update_package(update)
        digest = hashlib.sha256(package).hexdigest()
        if update.get("bad_sha256"):
            digest = hashlib.sha256(package + b"x").hexdigest()
        size = len(package) + int(update.get("bad_size") or 0)
        port = self.server.server_address[1]
        self.reply(200, {"version": update["version"], "format": update.get("format", "exe"),
                         "url": "https://127.0.0.1:%d/update/v1/package/mavu" % port,
                         "size": size, "sha256": digest})

    def update_package(self, path, query, raw):
        update = STATE.config["update"]
        if not update:
            return self.error(404, "no_package")
        self.reply(200, update_package(update), "application/octet-stream")

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

    # ---- test control ------------------------------------------------------------------
    def test_state(self, path, query, raw):
        self.reply(200, {"tickets": STATE.tickets, "files": STATE.files,
                         "events": STATE.events, "requests": STATE.requests})

    def test_config(self, path, query, raw):
        STATE.config.update(json.loads(raw or b"{}"))
        self.reply(200, STATE.config)

    def test_token(self, path, query, raw):
        STATE.tokens[json.loads(raw)["token"]] = KNOWN_EMAIL
        self.reply(200, {})


PACKAGES = {}


def update_package(update):
    """The package bytes: given as base64, or "zeros" bytes of zeros (bare, or zipped as
    Mavu.exe), made once."""
    if "zeros" not in update:
        return base64.b64decode(update["package_b64"])
    key = (update["zeros"], update.get("format", "exe"))
    if key not in PACKAGES:
        zeros = bytes(update["zeros"])
        if key[1] == "zip":
            buffer = io.BytesIO()
            with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as archive:
                archive.writestr("Mavu.exe", zeros)
            PACKAGES[key] = buffer.getvalue()
        else:
            PACKAGES[key] = zeros
    return PACKAGES[key]


ROUTES = [
    ("POST", "/api/v1/email/check", Handler.email_check),
    ("POST", "/oauth/token", Handler.token),
    ("POST", "/api/v1/register", Handler.register),
    ("GET", "/oauth/social/", Handler.social),
    ("GET", "/login/", Handler.history),
    ("GET", "/drive/v1/about", Handler.about),
    ("POST", "/drive/v1/files", Handler.file_record),
    ("PUT", "/upload/drive/v1/files/", Handler.file_upload),
    ("GET", "/update/v1/latest", Handler.update_info),
    ("GET", "/update/v1/package/", Handler.update_package),
    ("GET", "/ping", Handler.ping),
    ("POST", "/support/tickets/", Handler.feedback),
    ("POST", "/mp/collect", Handler.collect),
    ("GET", "/_test/state", Handler.test_state),
    ("POST", "/_test/config", Handler.test_config),
    ("POST", "/_test/token", Handler.test_token),
]


class Server(ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], (ConnectionError, ssl.SSLError, OSError)):
            super().handle_error(request, client_address)


def exit_with_parent():
    """The test holds our stdin open; when it ends (even by a crash) the pipe closes."""
    sys.stdin.buffer.read()
    os._exit(0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True, help="scratch folder for the certificate")
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()
    cert, key = make_certificate(args.dir)
    server = Server(("127.0.0.1", args.port), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True,
                                         do_handshake_on_connect=False)
    threading.Thread(target=exit_with_parent, daemon=True).start()
    print("READY %d %s" % (server.server_address[1], cert), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
