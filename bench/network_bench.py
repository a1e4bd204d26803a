#!/usr/bin/env python3
"""Backup and restore through ser2net on the loopback interface (RFC 2217 and
raw TCP) against dnx8sim --baud 9600, beside the local port in the same run:
the time from starting dnx8 to its exit against the wire minimum of the
bytes the simulator's trace shows (10 bits a byte at 9600 baud). A program
run by hand; it asserts nothing.

Usage: bench/network_bench.py [--runs N] [--dnx8 PATH] [--sim PATH]"""

import argparse
import os
import shutil
import socket
import statistics
import subprocess
import tempfile
import time

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
parser = argparse.ArgumentParser()
parser.add_argument("--runs", type=int, default=5)
parser.add_argument("--dnx8", default=os.path.join(top, "build/native/bin/dnx8"))
parser.add_argument("--sim", default=os.path.join(top, "build/native/bin/dnx8sim"))
args = parser.parse_args()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    wanted = "0100007F:%04X" % port
    with open("/proc/net/tcp") as table:
        return any(f[1] == wanted and f[3] == "0A" for f in (l.split() for l in list(table)[1:]))


def trace_lines(path):
    with open(path) as f:
        return f.read().splitlines()


def wire_seconds(lines):
    count = sum(len(l.split()) - 2 for l in lines if l.split()[1:2] in (["request"], ["reply"]))
    return count * 10 / 9600


folder = tempfile.mkdtemp(prefix="dnx8-netbench-")
trace = os.path.join(folder, "trace")
sim = subprocess.Popen([args.sim, "--preset", "thermocouple-k", "--baud", "9600", "--link",
                        os.path.join(folder, "port"), "--trace", trace], stdout=subprocess.PIPE, text=True)
pty = sim.stdout.readline().strip()
# Each way twice: with ser2net's defaults, and with chardelay off (by
# default ser2net holds serial bytes back for a few character times to send
# them on in one piece).
kinds = [("rfc2217", "telnet(rfc2217),tcp", True), ("tcp", "tcp", True),
         ("rfc2217, chardelay off", "telnet(rfc2217),tcp", False), ("tcp, chardelay off", "tcp", False)]
ports = {name: free_port() for name, _, _ in kinds}
with open(os.path.join(folder, "ser2net.yaml"), "w") as f:
    for i, (name, accepter, delay) in enumerate(kinds):
        f.write("connection: &c%d\n  accepter: %s,127.0.0.1,%d\n  connector: serialdev,%s,9600n81,local\n"
                "  options:\n    chardelay: %s\n" % (i, accepter, ports[name], pty, "true" if delay else "false"))
server = subprocess.Popen([shutil.which("ser2net") or "/usr/sbin/ser2net", "-n", "-u", "-c",
                           os.path.join(folder, "ser2net.yaml"), "-P", os.path.join(folder, "pid")])
end = time.monotonic() + 20
while not all(listening(p) for p in ports.values()) and time.monotonic() < end:
    time.sleep(0.02)

backup = os.path.join(folder, "backup.json")
subprocess.run([args.dnx8, "backup", os.path.join(folder, "port"), "-o", backup], check=True)
addresses = {"local": os.path.join(folder, "port")}
for name, _, _ in kinds:
    addresses[name] = "%s://127.0.0.1:%d" % (name.split(",")[0], ports[name])


def server_holds_device():
    """ser2net keeps the device a moment after a client leaves and refuses
    the next connection meanwhile."""
    fds = "/proc/%d/fd" % server.pid
    try:
        return any(os.readlink(os.path.join(fds, fd)) == pty for fd in os.listdir(fds))
    except OSError:
        return False


print("%-8s %-24s %6s %10s %10s %8s %8s" % ("command", "port", "bytes", "wire ms", "best ms", "best", "median"))
try:
    for command in (["backup", None, "-o", os.devnull], ["restore", None, backup]):
        for kind, address in addresses.items():
            ratios, best, wire, count = [], None, 0, 0
            for _ in range(args.runs):
                while server_holds_device():
                    time.sleep(0.01)
                start_line = len(trace_lines(trace))
                argv = [args.dnx8] + [address if a is None else a for a in command]
                began = time.perf_counter()
                subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
                elapsed = time.perf_counter() - began
                lines = trace_lines(trace)[start_line:]
                wire = wire_seconds(lines)
                count = int(wire * 960)
                ratios.append(elapsed / wire)
                best = elapsed if best is None else min(best, elapsed)
            print("%-8s %-24s %6d %10.1f %10.1f %8.3f %8.3f" % (command[0], kind, count, wire * 1000, best * 1000,
                                                               min(ratios), statistics.median(ratios)))
finally:
    server.terminate()
    server.wait()
    sim.terminate()
    sim.wait()
    shutil.rmtree(folder, ignore_errors=True)
