#!/usr/bin/env python3
"""The tests' stand-in of the Mavu web service: the local service (service/mavu_service.py)
in a scratch folder, with the control requests under /_test/ (service/API.md) and an end
when the test closes its standard input.

    python3 tests/service/mavu_service.py --dir <scratch folder>
"""
import importlib.util
import json
import os
import sys
import time

_SERVICE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "service", "mavu_service.py")
_spec = importlib.util.spec_from_file_location("mavu_local_service", _SERVICE)
service = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(service)

REQUESTS = []


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

    def test_state(self, path, query, raw):
        state = service.STATE
        self.reply(200, {"tickets": state.tickets, "files": state.all_records(),
                         "events": state.events, "requests": REQUESTS})

    def test_config(self, path, query, raw):
        service.STATE.config.update(json.loads(raw or b"{}"))
        self.reply(200, service.STATE.config)

    def test_token(self, path, query, raw):
        service.STATE.add_token(json.loads(raw)["token"], service.KNOWN_EMAIL)
        self.reply(200, {})


StandInHandler.routes = service.Handler.routes + [
    ("GET", "/_test/state", StandInHandler.test_state),
    ("POST", "/_test/config", StandInHandler.test_config),
    ("POST", "/_test/token", StandInHandler.test_token),
]

if __name__ == "__main__":
    sys.exit(service.serve(StandInHandler, sys.argv[1:] + ["--exit-with-stdin"]))
