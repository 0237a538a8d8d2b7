#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Copyright (c) 2026 The Halvorn developers
"""A receiving SMTP server for the tests, on aiosmtpd: stores each message as N.eml and its
envelope as N.env (MAIL FROM, then one RCPT per line) in OUTDIR, prints "PORT n" when ready
and runs until its standard input closes.

usage: smtp_server.py OUTDIR [--starttls CERT KEY] [--smtps CERT KEY] [--auth USER PASS]
       [--refuse ADDRESS]  (RCPT of that address gets 550)
"""
import logging
import socket
import ssl
import sys
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult

# Its warnings about our own test set-up only clutter the test output.
warnings.simplefilter("ignore")
logging.disable(logging.WARNING)

args = sys.argv[1:]
outdir = args.pop(0)
options = {}
while args:
    name = args.pop(0)
    count = 1 if name in ("--plainauth", "--refuse") else 2
    options[name] = args[:count]
    del args[:count]


class Store:
    count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "--refuse" in options and address == options["--refuse"][0]:
            return "550 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        Store.count += 1
        with open(f"{outdir}/{Store.count}.eml", "wb") as f:
            f.write(envelope.original_content)
        with open(f"{outdir}/{Store.count}.env", "w") as f:
            f.write("\n".join([envelope.mail_from] + envelope.rcpt_tos) + "\n")
        return "250 Message accepted"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


kwargs = {}
for name in ("--starttls", "--smtps"):
    if name in options:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(*options[name])
        if name == "--starttls":
            kwargs.update(tls_context=context, require_starttls=True)
        else:
            # The controller does not count implicit TLS as TLS for AUTH.
            kwargs.update(ssl_context=context, auth_require_tls=False)
if "--auth" in options:
    user, password = (v.encode() for v in options["--auth"])

    def authenticator(server, session, envelope, mechanism, data):
        ok = data.login == user and data.password == password
        # handled=False: the server itself answers a refusal with 535.
        return AuthResult(success=ok, handled=False)

    kwargs.update(authenticator=authenticator, auth_required=True)

port = free_port()
controller = Controller(Store(), hostname="127.0.0.1", port=port, **kwargs)
if "--smtps" in options:
    # The ready check of the controller speaks plain text; trust our own certificate for it.
    controller.ssl_context = kwargs["ssl_context"]
controller.start()
print(f"PORT {port}", flush=True)
sys.stdin.read()
controller.stop()
