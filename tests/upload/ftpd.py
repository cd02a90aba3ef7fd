#!/usr/bin/env python3
"""The tests' FTP server (user "user", password "pass", writable --dir) on 127.0.0.1;
with a --rate above 0 it receives at most that many bytes a second, for uploads slow
enough to be watched.

A file "hold-<step>" in the --control folder holds the next connection that comes to the
step, for a test to act at a known moment. Taking the hold, the server renames the file to
"held-<step>"; the step goes on when the test removes that file, or after 30 s:
- "lock": the reply to the MKD of a "*.lock" folder waits (the folder is made);
- "first-rename": an RNTO waits, and goes on as well once another RNTO has been done."""
import argparse
import os
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--port", type=int, required=True)
parser.add_argument("--dir", required=True)
parser.add_argument("--rate", type=int, default=0)
parser.add_argument("--control", default="")
args = parser.parse_args()

renames_done = 0


def control(name):
    return bool(args.control) and os.path.exists(os.path.join(args.control, name))


def take_hold(step):
    if not control("hold-" + step):
        return False
    os.replace(os.path.join(args.control, "hold-" + step), os.path.join(args.control, "held-" + step))
    return True


class Handler(FTPHandler):
    def when(self, ready, then, deadline=None):
        """Calls then once ready() holds, without stopping the other connections."""
        deadline = deadline or time.monotonic() + 30
        if self._closed:
            return
        if ready() or time.monotonic() > deadline:
            then()
        else:
            self.ioloop.call_later(0.02, self.when, ready, then, deadline)

    def ftp_MKD(self, path):
        if not (path.endswith(".lock") and take_hold("lock")):
            return FTPHandler.ftp_MKD(self, path)
        replies = []
        self.respond = lambda reply, *rest: replies.append(reply)
        try:
            FTPHandler.ftp_MKD(self, path)
        finally:
            del self.respond
        self.when(lambda: not control("held-lock"), lambda: [self.respond(reply) for reply in replies])

    def ftp_RNTO(self, path):
        if not take_hold("first-rename"):
            return self.rename(path)
        before = renames_done
        self.when(lambda: renames_done > before or not control("held-first-rename"), lambda: self.rename(path))

    def rename(self, path):
        global renames_done
        FTPHandler.ftp_RNTO(self, path)
        renames_done += 1


authorizer = DummyAuthorizer()
authorizer.add_user("user", "pass", args.dir, perm="elradfmwMT")
Handler.authorizer = authorizer
if args.rate > 0:
    ThrottledDTPHandler.read_limit = args.rate
    Handler.dtp_handler = ThrottledDTPHandler
FTPServer(("127.0.0.1", args.port), Handler).serve_forever()
