#!/usr/bin/env python3
"""Independent AES-256-GCM for the credential format: Base64(IV[12] + ciphertext + tag[16]),
key = SHA-256(passphrase). Usage: aesgcm.py encrypt|decrypt PASSPHRASE TEXT"""
import base64
import hashlib
import os
import sys

from cryptography.hazmat.primitives.ciphers.aead import AESGCM

mode, passphrase, text = sys.argv[1], sys.argv[2], sys.argv[3]
cipher = AESGCM(hashlib.sha256(passphrase.encode("utf-8")).digest())
if mode == "encrypt":
    iv = os.urandom(12)
    sys.stdout.write(base64.b64encode(iv + cipher.encrypt(iv, text.encode("utf-8"), None)).decode())
else:
    raw = base64.b64decode(text)
    sys.stdout.write(cipher.decrypt(raw[:12], raw[12:], None).decode("utf-8"))
