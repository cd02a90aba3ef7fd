#!/usr/bin/env python3
"""The tests' FTP server (user "user", password "pass", writable --dir) on 127.0.0.1,
receiving at most --rate bytes a second, for uploads slow enough to be watched."""
import argparse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--port", type=int, required=True)
parser.add_argument("--dir", required=True)
parser.add_argument("--rate", type=int, required=True)
args = parser.parse_args()

authorizer = DummyAuthorizer()
authorizer.add_user("user", "pass", args.dir, perm="elradfmwMT")
ThrottledDTPHandler.read_limit = args.rate
FTPHandler.authorizer = authorizer
FTPHandler.dtp_handler = ThrottledDTPHandler
FTPServer(("127.0.0.1", args.port), FTPHandler).serve_forever()
