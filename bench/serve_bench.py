#!/usr/bin/env python3
"""dnx8 serve under load: one server, 16 simulated converters at 9600 baud,
8 event streams on each. Prints the server's processor time per second, its
resident memory, the delay from a converter's last reply byte to the live
event at a client, the page's first load in bytes and the time from the
first request for the page to the first live value. Never asserted; run by
hand (docs/benchmarks.md).

Usage: serve_bench.py DNX8 DNX8SIM [SECONDS]"""

import http.client
import json
import os
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

DNX8, DNX8SIM = sys.argv[1], sys.argv[2]
SECONDS = float(sys.argv[3]) if len(sys.argv) > 3 else 30
CONVERTERS, STREAMS = 16, 8
LIVE_RATIO = "27"  # the last of the four live reads of a poll
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def resident_kib(pid):
    for line in open("/proc/%d/status" % pid):
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


def stream(host, port, cid, arrivals, stop):
    connection = http.client.HTTPConnection(host, port, timeout=60)
    connection.request("GET", "/api/converters/%s/events" % cid)
    response = connection.getresponse()
    event = None
    for raw in response:
        if stop.is_set():
            break
        line = raw.decode().rstrip("\n")
        if line.startswith("event: "):
            event = line[7:]
        elif line == "" and event == "live":
            arrivals.append((cid, time.time()))
    connection.close()


def main():
    folder = tempfile.TemporaryDirectory()
    sims = []
    for i in range(CONVERTERS):
        link = os.path.join(folder.name, "c%02d" % i)
        trace = link + ".trace"
        launched = time.time()  # the trace's zero is after this, before its first line
        process = subprocess.Popen([DNX8SIM, "--baud", "9600", "--link", link, "--trace", trace],
                                   stdout=subprocess.PIPE, text=True)
        process.stdout.readline()
        sims.append((process, link, trace, launched))
    server = subprocess.Popen([DNX8, "serve", "--listen", "127.0.0.1:0", *[s[1] for s in sims]],
                              stdout=subprocess.PIPE, text=True)
    url = urllib.parse.urlsplit(server.stdout.readline().strip())
    host, port = url.hostname, url.port

    def get(path):
        c = http.client.HTTPConnection(host, port, timeout=60)
        c.request("GET", path)
        r = c.getresponse()
        body = r.read()
        c.close()
        return body

    while not all(c["state"] == "connected" for c in json.loads(get("/api/converters"))):
        time.sleep(0.1)

    # The page's first load: the page and everything it names, then the first live value.
    opened = time.time()
    page = get("/")
    total = len(page)
    for asset in re.findall(rb'(?:src|href)="(/assets/[^"]+)"', page):
        total += len(get(asset.decode()))
    modules = [m.decode() for m in re.findall(rb'src="(/assets/js/[^"]+)"', page)]
    seen = set(modules)
    while modules:
        body = get(modules.pop())
        for name in re.findall(rb"from '\./([^']+)'", body):
            path = "/assets/js/" + name.decode()
            if path not in seen:
                seen.add(path)
                modules.append(path)
                total += len(get(path))
    get("/api/server")
    get("/api/converters")
    first = []
    stop = threading.Event()
    threading.Thread(target=stream, args=(host, port, "c00", first, stop), daemon=True).start()
    while not first:
        time.sleep(0.005)
    first_live = first[0][1] - opened

    arrivals = []
    for i in range(CONVERTERS):
        for _ in range(STREAMS):
            threading.Thread(target=stream, args=(host, port, "c%02d" % i, arrivals, stop), daemon=True).start()
    time.sleep(3)  # every stream open and polling
    arrivals.clear()
    cpu0, wall0 = cpu_seconds(server.pid), time.time()
    time.sleep(SECONDS)
    cpu1, wall1 = cpu_seconds(server.pid), time.time()
    rss = resident_kib(server.pid)
    stop.set()
    events = list(arrivals)

    # Delay: the event's arrival against the end of the poll's last reply on
    # the wire (the trace's time of the reply plus its 9 bytes at 9600 baud).
    delays = []
    for i, (process, link, trace, started) in enumerate(sims):
        replies = []
        with open(trace) as f:
            previous = None
            for line in f:
                parts = line.split()
                if parts[1] == "request":
                    previous = parts[3]
                elif parts[1] == "reply" and previous == LIVE_RATIO:
                    replies.append(started + float(parts[0]) + len(parts[2:]) * 10 / 9600)
        cid = "c%02d" % i
        for _, at in (e for e in events if e[0] == cid):
            # The poll this event reports: the nearest reply (clocks of two
            # processes, so a few tenths of a millisecond either way).
            if replies:
                delays.append(at - min(replies, key=lambda r: abs(at - r)))

    server.send_signal(signal.SIGTERM)
    server.wait(timeout=30)
    for process, *_ in sims:
        process.terminate()
        process.wait(timeout=30)
    delays.sort()
    print("converters %d, streams %d each, %.0f s measured" % (CONVERTERS, STREAMS, SECONDS))
    print("live events at clients: %d (%.1f per second)" % (len(events), len(events) / (wall1 - wall0)))
    print("server processor time: %.1f ms per second" % (1000 * (cpu1 - cpu0) / (wall1 - wall0)))
    print("server resident memory: %.1f MiB" % (rss / 1024))
    if delays:
        print("last reply byte to event at client: median %.1f ms, 95th percentile %.1f ms, max %.1f ms"
              % (1000 * statistics.median(delays), 1000 * delays[int(len(delays) * 0.95)], 1000 * delays[-1]))
    print("page first load: %d bytes (%.1f KiB) uncompressed" % (total, total / 1024))
    print("first page request to first live value: %.0f ms (without a browser's rendering)" % (1000 * first_live))


if __name__ == "__main__":
    main()
