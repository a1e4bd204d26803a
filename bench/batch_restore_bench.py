#!/usr/bin/env python3
"""Batch restore through dnx8 serve: one backup into 16 simulated converters
at 9600 baud at once, against one restore into one converter on the same
server. Prints both times, their ratio (the aim is at most 1.10) and the
server's processor time during each (from /proc). One event stream watches
every converter, as the page does, so the progress events and the live
polls are part of the load. Never asserted; run by hand (docs/benchmarks.md).

Usage: batch_restore_bench.py DNX8 DNX8SIM [ROUNDS] [PRESET]
(PRESET: the source converter's dnx8sim preset, pt100 by default;
thermocouple-k restores the EMF pieces too)"""

import http.client
import json
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

DNX8, DNX8SIM = sys.argv[1], sys.argv[2]
ROUNDS = int(sys.argv[3]) if len(sys.argv) > 3 else 3
PRESET = sys.argv[4] if len(sys.argv) > 4 else "pt100"
CONVERTERS = 16
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def watch(host, port, cid, progress, stop):
    connection = http.client.HTTPConnection(host, port, timeout=600)
    connection.request("GET", "/api/converters/%s/events" % cid)
    response = connection.getresponse()
    event = None
    for raw in response:
        if stop.is_set():
            break
        line = raw.decode().rstrip("\n")
        if line.startswith("event: "):
            event = line[7:]
        elif line == "" and event == "progress":
            progress[cid] = progress.get(cid, 0) + 1
    connection.close()


def main():
    folder = tempfile.TemporaryDirectory()
    names = ["source", "solo"] + ["c%02d" % i for i in range(CONVERTERS)]
    sims = []
    for name in names:
        link = os.path.join(folder.name, name)
        preset = ["--preset", PRESET] if name == "source" else ["--preset", "fresh"]
        process = subprocess.Popen([DNX8SIM, "--baud", "9600", "--link", link, *preset],
                                   stdout=subprocess.PIPE, text=True)
        process.stdout.readline()
        sims.append((process, link))
    server = subprocess.Popen([DNX8, "serve", "--listen", "127.0.0.1:0", *[s[1] for s in sims]],
                              stdout=subprocess.PIPE, text=True)
    url = urllib.parse.urlsplit(server.stdout.readline().strip())
    host, port = url.hostname, url.port

    def call(method, path, body=None):
        c = http.client.HTTPConnection(host, port, timeout=600)
        c.request(method, path, body=json.dumps(body) if body is not None else None,
                  headers={"Content-Type": "application/json"} if body is not None else {})
        r = c.getresponse()
        data = r.read()
        c.close()
        return r.status, json.loads(data)

    while not all(c["state"] == "connected" for c in call("GET", "/api/converters")[1]):
        time.sleep(0.1)
    status, backup = call("GET", "/api/converters/source/backup")
    assert status == 200, backup

    stop = threading.Event()
    progress = {}
    for name in names[1:]:
        threading.Thread(target=watch, args=(host, port, name, progress, stop), daemon=True).start()
    time.sleep(2)  # every stream open and polled once

    solo, batch, solo_cpu, batch_cpu = [], [], [], []
    for _ in range(ROUNDS):
        cpu0, t0 = cpu_seconds(server.pid), time.monotonic()
        status, reply = call("POST", "/api/converters/solo/restore", backup)
        t1, cpu1 = time.monotonic(), cpu_seconds(server.pid)
        assert status == 200 and reply["result"] == "verified", reply
        solo.append(t1 - t0)
        solo_cpu.append(cpu1 - cpu0)

        cpu0, t0 = cpu_seconds(server.pid), time.monotonic()
        status, reply = call("POST", "/api/batch/restore", {"converters": names[2:], "backup": backup})
        t1, cpu1 = time.monotonic(), cpu_seconds(server.pid)
        assert status == 200 and reply["summary"]["verified"] == CONVERTERS, reply
        batch.append(t1 - t0)
        batch_cpu.append(cpu1 - cpu0)
    stop.set()

    requests = len(call("POST", "/api/converters/solo/restore?dryRun=true", backup)[1]["writes"])
    s, b = statistics.median(solo), statistics.median(batch)
    print("rounds: %d; source preset %s; a restore: %d writes, then a read-all to verify"
          % (ROUNDS, PRESET, requests))
    print("one restore into one converter:   median %.2f s (%s)" % (s, ", ".join("%.2f" % x for x in solo)))
    print("batch restore into %d converters: median %.2f s (%s)" % (CONVERTERS, b, ", ".join("%.2f" % x for x in batch)))
    print("ratio batch / one: %.3f (aim: at most 1.10)" % (b / s))
    print("server processor time: one restore %.0f ms, batch %.0f ms (%.1f %% of one core meanwhile)"
          % (1000 * statistics.median(solo_cpu), 1000 * statistics.median(batch_cpu),
             100 * statistics.median(batch_cpu) / b))
    print("progress events received: %d" % sum(progress.values()))

    server.terminate()
    server.wait(timeout=30)
    for process, _ in sims:
        process.terminate()
        process.wait(timeout=30)
    folder.cleanup()


if __name__ == "__main__":
    main()
