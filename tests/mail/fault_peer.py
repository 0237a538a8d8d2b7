#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Copyright (c) 2026 The Halvorn developers
"""A scripted SMTP peer for the dialogue and fault tests. Serves one connection in the
given MODE, writes every byte it received to RECORD, prints "PORT n" when ready.

modes: ok, nogreeting, pieces, notext, longreply, hugereply, closehelo, reject, quitclose
"""
import os
import socket
import sys
import time

mode, record = sys.argv[1], sys.argv[2]
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(1)
print(f"PORT {server.getsockname()[1]}", flush=True)
conn, _ = server.accept()
received = bytearray()
buffer = bytearray()


def save():
    # Replaced whole, so that a reader never sees it half-written.
    with open(record + ".new", "wb") as f:
        f.write(received)
    os.replace(record + ".new", record)


def line():
    while b"\r\n" not in buffer:
        data = conn.recv(65536)
        if not data:
            return None
        received.extend(data)
        buffer.extend(data)
        save()
    end = buffer.index(b"\r\n")
    text = bytes(buffer[:end])
    del buffer[: end + 2]
    return text


def send(text):
    try:
        conn.sendall(text)
    except OSError:
        pass  # the client may rightly hang up on a reply it refuses


ok = b"250\r\n" if mode == "notext" else b"250 OK\r\n"
if mode == "nogreeting":
    conn.recv(1)  # until the client gives up
    sys.exit(0)
elif mode == "pieces":
    for piece in (b"220-first", b" line\r\n220-sec", b"ond\r\n", b"220 ready\r\n"):
        send(piece)
        time.sleep(0.2)
else:
    send(b"220\r\n" if mode == "notext" else b"220 ready\r\n")

rcpts = 0
while True:
    command = line()
    if command is None:
        break
    verb = command[:4].upper()
    if verb in (b"HELO", b"EHLO"):
        if mode == "closehelo":
            conn.close()
            break
        if mode == "longreply":
            send(b"".join(b"250-" + b"x" * 70 + b"\r\n" for _ in range(42)) + b"250 OK\r\n")
        elif mode == "hugereply":
            send(b"250-" + b"x" * 70 + b"\r\n")
            for _ in range(2000):
                send(b"250-" + b"y" * 70 + b"\r\n")
        else:
            send(ok)
    elif verb == b"RCPT":
        rcpts += 1
        send(b"550 No such user here\r\n" if mode == "reject" and rcpts == 2 else ok)
    elif verb == b"DATA":
        send(b"354\r\n" if mode == "notext" else b"354 Go ahead\r\n")
        while line() not in (b".", None):
            pass
        send(ok)
    elif verb == b"QUIT":
        if mode == "quitclose":
            conn.close()
            break
        send(b"221 Bye\r\n")
        conn.close()
        break
    else:
        send(ok)
save()
