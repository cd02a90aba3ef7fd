#!/usr/bin/env python3
"""The tests' FTP server (user "user", password "pass", writable --dir) on 127.0.0.1;
with a --rate above 0 it receives at most that many bytes a second, for uploads slow
enough to be watched."""
import argparse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--port", type=int, required=True)
parser.add_argument("--dir", required=True)
parser.add_argument("--rate", type=int, default=0)
args = parser.parse_args()

authorizer = DummyAuthorizer()
authorizer.add_user("user", "pass", args.dir, perm="elradfmwMT")
FTPHandler.authorizer = authorizer
if args.rate > 0:
    ThrottledDTPHandler.read_limit = args.rate
    FTPHandler.dtp_handler = ThrottledDTPHandler
FTPServer(("127.0.0.1", args.port), FTPHandler).serve_forever()
