#!/usr/bin/env python3
"""A minimal converter on a pseudo-terminal for the Windows serial test.

Prints the terminal's path, then answers request frames until killed:
  0x21 identity "DNX8"; 0x3E filter, stored clipped to 0..30;
  0x3D scale max, stored clipped to 1000; 0x39 coefficients, stored;
  0x22 never answered; 0x24 first a broken reply with junk, then 2.5;
  anything else a negative reply.
"""
import os
import select
import struct
import sys
import time
import tty


def frame(data):
    body = bytes([0x06, len(data)]) + data
    return body + bytes([(-sum(body)) & 0xFF])


def main():
    master, slave = os.openpty()
    tty.setraw(master)
    # The slave stays open here too, so the master never sees a hang-up
    # while the Windows side closes and reopens the port.
    print(os.ttyname(slave), flush=True)
    state = {0x3E: bytes([0]), 0x3D: struct.pack("<f", 0.0), 0x39: bytes(40)}
    live_input_asked = 0
    pending = b""
    deadline = time.monotonic() + 300
    while time.monotonic() < deadline:
        ready, _, _ = select.select([master], [], [], 0.5)
        if not ready:
            continue
        pending += os.read(master, 256)
        while True:
            start = pending.find(b"\x01")
            if start < 0:
                pending = b""
                break
            pending = pending[start:]
            if len(pending) < 3 or len(pending) < 4 + pending[2]:
                break
            command, n = pending[1], pending[2]
            data = pending[3:3 + n]
            pending = pending[4 + n:]
            if command == 0x21:
                reply = frame(b"DNX8\0\0\0\0")
            elif command == 0x22:
                continue
            elif command == 0x24:
                live_input_asked += 1
                if live_input_asked == 1:
                    reply = b"\x06\x04\x00\x00\x20\x40\x00" + frame(struct.pack("<f", 9.0))
                else:
                    reply = frame(struct.pack("<f", 2.5))
            elif command == 0x3E:
                if n == 1:
                    state[command] = bytes([min(data[0], 30)])
                reply = frame(state[command])
            elif command == 0x3D:
                if n == 4:
                    state[command] = struct.pack("<f", min(struct.unpack("<f", data)[0], 1000.0))
                reply = frame(state[command])
            elif command == 0x39:
                if n == 40:
                    state[command] = data
                reply = frame(state[command])
            else:
                reply = b"\x15\xEB"
            os.write(master, reply)


if __name__ == "__main__":
    sys.exit(main())
