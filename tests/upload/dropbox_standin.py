#!/usr/bin/env python3
"""Loopback stand-in of the Dropbox HTTP API v2 for the upload tests.

Serves the RPC, content and OAuth endpoints the program uses over HTTPS on 127.0.0.1 with
a certificate made at start. Uploaded files land in <dir>/files. Prints
"READY <port> <certificate>" once listening.

Test control: GET /_test/state (requests seen with any X-Injected header, codes, files), POST /_test/config (JSON
merged into the settings: token, app_key, slow, insufficient_space, link_exists,
short_size).
"""
import argparse
import base64
import hashlib
import json
import os
import secrets
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

LOCK = threading.Lock()
CONFIG = {"token": "dropbox-token", "app_key": "test-app-key", "slow": False,
          "insufficient_space": False, "link_exists": False, "short_size": False}
STATE = {"requests": [], "codes": {}, "files": {}}
SESSIONS = {}
FOLDER = None


def make_certificate(folder):
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                    "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1",
                    "-addext", "subjectAltName=IP:127.0.0.1"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, payload=None, headers=None):
        data = json.dumps(payload).encode() if payload is not None else b""
        self.send_response(status)
        for name, value in (headers or {}).items():
            self.send_header(name, value)
        if payload is not None:
            self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def error(self, status, summary, error=None):
        self.reply(status, {"error_summary": summary, "error": error or {".tag": summary.split("/")[0]}})

    def read_body(self, slow=False):
        length = int(self.headers.get("Content-Length") or 0)
        chunks, left = [], length
        while left > 0:
            chunk = self.rfile.read(min(left, 65536))
            if not chunk:
                break
            chunks.append(chunk)
            left -= len(chunk)
            if slow:
                time.sleep(0.02)
        return b"".join(chunks)

    def authorised(self):
        return self.headers.get("Authorization") == "Bearer " + CONFIG["token"]

    def record(self):
        with LOCK:
            STATE["requests"].append({"method": self.command, "path": self.path,
                                      "arg": self.headers.get("Dropbox-API-Arg"),
                                      "injected": self.headers.get("X-Injected")})

    def do_GET(self):
        self.record()
        url = urllib.parse.urlparse(self.path)
        if url.path == "/_test/state":
            with LOCK:
                return self.reply(200, STATE)
        if url.path == "/oauth2/authorize":
            return self.authorize(urllib.parse.parse_qs(url.query))
        self.error(404, "not_found")

    def do_POST(self):
        self.record()
        path = urllib.parse.urlparse(self.path).path
        if path == "/_test/config":
            CONFIG.update(json.loads(self.read_body() or b"{}"))
            return self.reply(200, CONFIG)
        if path == "/oauth2/token":
            return self.token(urllib.parse.parse_qs(self.read_body().decode()))
        if path == "/2/files/upload":
            return self.upload()
        if path.startswith("/2/files/upload_session/"):
            return self.session(path.rsplit("/", 1)[-1])
        body = self.read_body()
        if not self.authorised():
            return self.error(401, "invalid_access_token/")
        if path == "/2/sharing/create_shared_link_with_settings":
            return self.shared_link(json.loads(body))
        if path == "/2/users/get_current_account" and body == b"null":
            return self.reply(200, {"account_id": "dbid:1", "email": "dropbox@example.com",
                                    "name": {"display_name": "Test Dropbox User"}})
        if path == "/2/users/get_space_usage" and body == b"null":
            return self.reply(200, {"used": 123456789,
                                    "allocation": {".tag": "individual", "allocated": 2147483648}})
        self.error(400, "bad_request")

    def authorize(self, query):
        redirect = query.get("redirect_uri", [""])[0]
        if query.get("client_id", [""])[0] != CONFIG["app_key"] or not redirect.startswith("http://127.0.0.1:"):
            return self.error(400, "invalid_request")
        code = secrets.token_hex(8)
        with LOCK:
            STATE["codes"][code] = {"challenge": query.get("code_challenge", [""])[0], "redirect": redirect}
        target = redirect + "?" + urllib.parse.urlencode({"code": code, "state": query.get("state", [""])[0]})
        self.reply(302, None, {"Location": target})

    def token(self, form):
        code = form.get("code", [""])[0]
        with LOCK:
            grant = STATE["codes"].pop(code, None)
        verifier = form.get("code_verifier", [""])[0].encode()
        challenge = base64.urlsafe_b64encode(hashlib.sha256(verifier).digest()).rstrip(b"=").decode()
        if (grant is None or grant["challenge"] != challenge
                or form.get("redirect_uri", [""])[0] != grant["redirect"]
                or form.get("client_id", [""])[0] != CONFIG["app_key"]):
            return self.error(400, "invalid_grant")
        self.reply(200, {"access_token": CONFIG["token"], "token_type": "bearer"})

    def session(self, step):
        data = self.read_body(slow=CONFIG["slow"])
        if not self.authorised():
            return self.error(401, "invalid_access_token/")
        arg = json.loads(self.headers.get("Dropbox-API-Arg"))
        if step == "start":
            session_id = secrets.token_hex(6)
            with LOCK:
                SESSIONS[session_id] = bytearray(data)
            return self.reply(200, {"session_id": session_id})
        cursor = arg["cursor"]
        with LOCK:
            stored = SESSIONS.get(cursor["session_id"])
            if stored is None or cursor["offset"] != len(stored):
                return self.error(409, "incorrect_offset/")
            stored.extend(data)
        if step == "append_v2":
            return self.reply(200, None)
        return self.store(arg["commit"], bytes(SESSIONS.pop(cursor["session_id"])))

    def upload(self):
        data = self.read_body(slow=CONFIG["slow"])
        if not self.authorised():
            return self.error(401, "invalid_access_token/")
        return self.store(json.loads(self.headers.get("Dropbox-API-Arg")), data)

    def store(self, arg, data):
        if CONFIG["insufficient_space"]:
            return self.error(409, "path/insufficient_space/")
        name = arg["path"].lstrip("/")
        with open(os.path.join(FOLDER, name), "wb") as out:
            out.write(data)
        with LOCK:
            STATE["files"][name] = {"size": len(data), "arg": arg, "sessions": len(SESSIONS)}
        size = len(data) - 1 if CONFIG["short_size"] else len(data)
        self.reply(200, {"name": name, "path_display": "/" + name, "id": "id:" + name, "size": size})

    def shared_link(self, arg):
        url = "https://127.0.0.1:%d/s/%s" % (self.server.server_address[1], arg["path"].lstrip("/"))
        if CONFIG["link_exists"]:
            return self.error(409, "shared_link_already_exists/",
                              {".tag": "shared_link_already_exists", "shared_link_already_exists":
                               {".tag": "metadata", "metadata": {"url": url}}})
        self.reply(200, {"url": url, "name": arg["path"].lstrip("/")})


def exit_with_parent():
    """The test holds our stdin open; when it ends (even by a crash) the pipe closes."""
    sys.stdin.buffer.read()
    os._exit(0)


def main():
    global FOLDER
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    args = parser.parse_args()
    FOLDER = os.path.join(args.dir, "files")
    os.makedirs(FOLDER, exist_ok=True)
    cert, key = make_certificate(args.dir)
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
    threading.Thread(target=exit_with_parent, daemon=True).start()
    print("READY %d %s" % (server.server_address[1], cert), flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
