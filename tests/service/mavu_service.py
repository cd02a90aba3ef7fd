#!/usr/bin/env python3
"""The tests' stand-in of the Mavu web service: the local service (service/mavu_service.py)
in a scratch folder, with the control requests under /_test/ (service/API.md) and an end
when the test closes its standard input.

    python3 tests/service/mavu_service.py --dir <scratch folder>
"""
import base64
import importlib.util
import io
import json
import os
import sys
import time
import zipfile

_SERVICE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "service", "mavu_service.py")
_spec = importlib.util.spec_from_file_location("mavu_local_service", _SERVICE)
service = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(service)

REQUESTS = []
# Faults of the file record and upload, each off by default (service/API.md).
FAULTS = {"upload_fault": None, "record_redirect": None, "record_reply": {}, "record_xml": False,
          "record_padding": 0, "record_streamed": False, "access_token": None}
# Streamed answers that the client left before their end.
CUT_STREAMS = []
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


service.update_package_bytes = update_package


def fault(name):
    return service.STATE.config.get(name, FAULTS[name])


class StandInHandler(service.Handler):
    def intercept(self, path):
        if path.startswith("/_test/"):
            return False
        REQUESTS.append({"method": self.command, "path": path,
                         "headers": {k: v for k, v in self.headers.items()}})
        if service.STATE.config.get("down"):
            self.error(503, "down")
            return True
        if self.command == "PUT":
            time.sleep(service.STATE.config.get("upload_delay", 0))
        return False

    def file_record(self, path, query, raw):
        if fault("record_redirect"):
            return self.reply(307, None, headers={"Location": fault("record_redirect")})
        self.shaping_record = True
        try:
            service.Handler.file_record(self, path, query, raw)
        finally:
            self.shaping_record = False

    def token(self, path, query, raw):
        self.shaping_token = True
        try:
            service.Handler.token(self, path, query, raw)
        finally:
            self.shaping_token = False

    def reply(self, status, payload=None, content_type="application/json", headers=None):
        """The file record's and the granted token's answers, changed as the faults ask."""
        if getattr(self, "shaping_token", False) and status == 200 and fault("access_token") is not None:
            payload = dict(payload, access_token=fault("access_token"))
        if getattr(self, "shaping_record", False) and status == 200 and isinstance(payload, dict):
            payload = dict(payload, **fault("record_reply"))
            if fault("record_streamed"):
                return self.stream(status, payload)
            if fault("record_padding"):
                payload["padding"] = "x" * fault("record_padding")
            if fault("record_xml"):
                payload = "<file>" + "".join("<%s>%s</%s>" % (k, v, k) for k, v in payload.items()) + "</file>"
                content_type = "application/xml"
        service.Handler.reply(self, status, payload, content_type, headers)

    def stream(self, status, payload):
        """The record in chunks without a declared size, its padding made on the way at about
        12 MB/s."""
        body = json.dumps(dict(payload, padding="")).encode()
        size = fault("record_padding")
        block = b"x" * 65536
        chunks = [body[:-2]] + [block] * (size // len(block)) + [block[:size % len(block)], body[-2:]]
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        try:
            for chunk in filter(None, chunks):
                self.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
                # Paced, so that a client that leaves at its cap does so long before the end,
                # however busy the machine.
                time.sleep(0.005)
            self.wfile.write(b"0\r\n\r\n")
            self.wfile.flush()
        except OSError:
            CUT_STREAMS.append(self.path)
            self.close_connection = True

    def file_upload(self, path, query, raw):
        """With "upload_fault" the bytes arrive but the upload fails: an error status, a short
        size, an empty answer or a connection dropped without any answer."""
        kind = fault("upload_fault")
        if not kind or self.bearer_email() is None:
            return service.Handler.file_upload(self, path, query, raw)
        record = service.STATE.file_record(path.rsplit("/", 1)[-1])
        if record is None:
            return self.error(404, "unknown_file")
        if kind in ("500", "413"):
            return self.error(int(kind), "upload_failed")
        if kind == "short":
            return self.reply(200, {"id": record["id"], "alternateLink": record["alternateLink"],
                                    "fileSize": len(raw) // 2})
        if kind == "empty":
            return self.reply(200, b"", "application/json")
        self.close_connection = True
        self.connection.shutdown(2)

    def test_state(self, path, query, raw):
        state = service.STATE
        self.reply(200, {"tickets": state.tickets, "files": state.all_records(),
                         "events": state.events, "requests": REQUESTS, "cut_streams": len(CUT_STREAMS)})

    def test_config(self, path, query, raw):
        service.STATE.config.update(json.loads(raw or b"{}"))
        self.reply(200, service.STATE.config)

    def test_token(self, path, query, raw):
        service.STATE.add_token(json.loads(raw)["token"], service.KNOWN_EMAIL)
        self.reply(200, {})


# The service's routes, reaching the stand-in's versions of its handlers where it has them.
StandInHandler.routes = [(method, prefix, getattr(StandInHandler, handler.__name__))
                         for method, prefix, handler in service.Handler.routes] + [
    ("GET", "/_test/state", StandInHandler.test_state),
    ("POST", "/_test/config", StandInHandler.test_config),
    ("POST", "/_test/token", StandInHandler.test_token),
]

if __name__ == "__main__":
    sys.exit(service.serve(StandInHandler, sys.argv[1:] + ["--exit-with-stdin"]))
