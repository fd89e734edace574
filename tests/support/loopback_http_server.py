#!/usr/bin/env python3
"""A scripted HTTP server on 127.0.0.1 for the tests of the update check.

It listens on a free port and prints that port on its first line. For each
connection, up to --connections of them, it reads the request head, answers
as scripted, and records the bytes it received in --record:

  reply    sends the bytes of --reply-file and closes its side; the record
           also holds whatever the client sent after its head;
  silent   sends nothing and keeps the connection open;
  endless  sends the bytes of --reply-file and then body bytes without end.

It never runs longer than --lifetime seconds, whatever the client does.
"""

import argparse
import os
import socket
import sys
import time

MAX_REQUEST = 65536
# Bytes that arrive this soon after the reply still count as part of the
# request, so that a client sending more than the head is caught.
TRAILING_WAIT = 0.2


def read_head(connection, deadline):
    data = b""
    while b"\r\n\r\n" not in data and len(data) < MAX_REQUEST:
        connection.settimeout(max(0.01, deadline - time.monotonic()))
        chunk = connection.recv(4096)
        if not chunk:
            break
        data += chunk
    return data


def read_rest(connection):
    data = b""
    connection.settimeout(TRAILING_WAIT)
    try:
        while len(data) < MAX_REQUEST:
            chunk = connection.recv(4096)
            if not chunk:
                break
            data += chunk
    except OSError:
        pass
    return data


def record(path, data):
    if path:
        with open(path + ".part", "wb") as out:
            out.write(data)
        os.replace(path + ".part", path)


def answer(connection, mode, reply, deadline):
    connection.settimeout(max(0.01, deadline - time.monotonic()))
    if mode in ("reply", "endless"):
        connection.sendall(reply)
    if mode == "reply":
        connection.shutdown(socket.SHUT_WR)
    if mode == "endless":
        block = b"7" * 65536
        while time.monotonic() < deadline:
            connection.sendall(block)
    elif mode == "silent":
        while time.monotonic() < deadline:
            connection.settimeout(max(0.01, deadline - time.monotonic()))
            if not connection.recv(4096):
                break


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", choices=("reply", "silent", "endless"), default="reply")
    parser.add_argument("--reply-file")
    parser.add_argument("--record")
    parser.add_argument("--connections", type=int, default=1)
    parser.add_argument("--lifetime", type=float, default=20.0)
    options = parser.parse_args()
    reply = b""
    if options.reply_file:
        with open(options.reply_file, "rb") as source:
            reply = source.read()
    deadline = time.monotonic() + options.lifetime

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(options.connections)
    print(listener.getsockname()[1], flush=True)
    for _ in range(options.connections):
        listener.settimeout(max(0.01, deadline - time.monotonic()))
        try:
            connection, _ = listener.accept()
        except socket.timeout:
            break
        with connection:
            try:
                request = read_head(connection, deadline)
                if options.mode != "reply":
                    record(options.record, request)
                answer(connection, options.mode, reply, deadline)
                if options.mode == "reply":
                    record(options.record, request + read_rest(connection))
            except OSError:
                pass
    listener.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
