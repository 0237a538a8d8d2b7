#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Copyright (c) 2026 The Halvorn developers
"""Judges a received message with Python's email parser: no defects anywhere, and every
attachment decodes to its file (text files compared with CR LF line ends).

usage: judge_mail.py MESSAGE TEXT [FILE...]; prints what is wrong and exits 1, else 0.
"""
import email
import email.policy
import os
import re
import sys

message_path, text, files = sys.argv[1], sys.argv[2], sys.argv[3:]
with open(message_path, "rb") as f:
    message = email.message_from_bytes(f.read(), policy=email.policy.default)
problems = []
for part in message.walk():
    for defect in part.defects:
        problems.append(f"defect {defect!r} in {part.get_content_type()}")
parts = list(message.walk())[1:] if message.is_multipart() else [message]
body = parts[0].get_payload(decode=True).decode(parts[0].get_content_charset() or "ascii")
if body.rstrip("\r\n") != text:
    problems.append(f"text {body!r} is not {text!r}")
attachments = parts[1:]
if len(attachments) != len(files):
    problems.append(f"{len(attachments)} attachments for {len(files)} files")
for part, path in zip(attachments, files):
    with open(path, "rb") as f:
        expected = f.read()
    if part.get_content_maintype() == "text":
        expected = re.sub(rb"\r\n|\r|\n", b"\r\n", expected)
    if part.get_filename() != os.path.basename(path):
        problems.append(f"file name {part.get_filename()!r}")
    if part.get_payload(decode=True) != expected:
        problems.append(f"payload of {path} differs")
print("\n".join(problems))
sys.exit(1 if problems else 0)
