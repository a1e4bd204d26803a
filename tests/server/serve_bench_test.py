#!/usr/bin/env python3
"""dnx8 serve with a bench of simulated converters: the bench's event
stream (every converter's state, input and live values on one stream) and
the entries of GET /api/converters.

Usage: serve_bench_test.py DNX8 DNX8SIM"""

import http.client
import queue
import socket
import sys
import tempfile
import threading
import time
import unittest

from serve_api_test import WAIT, Events, Server, Simulator


class BenchEvents(Events):
    """The stream of GET /api/events."""

    def __init__(self, server):
        self.connection = http.client.HTTPConnection(server.host, server.port, timeout=WAIT)
        self.connection.request("GET", "/api/events")
        self.response = self.connection.getresponse()
        self.status = self.response.status
        self.events = queue.Queue()
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()


class Bench(unittest.TestCase):
    def setUp(self):
        # Cleanups run after a failed setUp too: nothing outlives the test.
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.sims = []
        self.addCleanup(lambda: [sim.close() for sim in self.sims])
        self.sims.append(Simulator(self.folder.name, "volt"))
        self.sims.append(Simulator(self.folder.name, "pt", "--preset", "pt100"))
        self.sims[1].command("set SerialNumber 1002")
        self.server = Server(*(sim.port for sim in self.sims))
        self.streams = []
        self.addCleanup(self.stop_server)

    def stop_server(self):
        for stream in self.streams:
            stream.close()
        self.assertEqual(self.server.stop(), 0)

    def bench(self):
        stream = BenchEvents(self.server)
        self.assertEqual(stream.status, 200)
        self.streams.append(stream)
        return stream

    def wait_connected(self):
        deadline = time.monotonic() + WAIT
        while True:
            converters = self.server.request("GET", "/api/converters")[2]
            if all(c["state"] == "connected" for c in converters) and len(converters) == 2:
                return converters
            self.assertLess(time.monotonic(), deadline, converters)
            time.sleep(0.1)

    def test_entries_carry_the_input_read_at_connect(self):
        volt, pt = self.wait_connected()
        self.assertEqual(volt["input"]["kind"], "Napětí")
        self.assertEqual(pt["input"]["kind"], "Teploměr")
        self.assertEqual(pt["input"]["sensor"], "Pt 100 (3850)")
        self.assertEqual(pt["serialNumber"], 1002)
        # Nobody watches: nothing polled, no live value.
        self.assertIsNone(volt["live"])

    def test_one_stream_carries_every_converter_live(self):
        self.wait_connected()
        stream = self.bench()
        name, listed = stream.wait_for(lambda e, d: True, "the first event")
        self.assertEqual(name, "converters")
        self.assertEqual([c["id"] for c in listed], ["volt", "pt"])
        # Each converter polled without a stream of its own; each poll names it.
        self.sims[1].command("live LiveProcess 21.5")
        stream.wait_for(lambda e, d: e == "live" and d["id"] == "volt", "a live event of volt")
        stream.wait_for(lambda e, d: e == "live" and d["id"] == "pt" and d["process"] == 21.5, "pt's process value")
        # The entry keeps the last poll for a client that asks.
        entry = [c for c in self.server.request("GET", "/api/converters")[2] if c["id"] == "pt"][0]
        self.assertIsNotNone(entry["live"])

        self.assertEqual(self.server.request("DELETE", "/api/converters/volt")[0], 204)
        stream.wait_for(lambda e, d: e == "removed" and d == {"id": "volt"}, "volt removed")
        self.assertEqual(self.server.request("POST", "/api/converters", {"port": self.sims[0].port})[0], 201)
        _, again = stream.wait_for(lambda e, d: e == "state" and d["id"] == "volt" and d["state"] == "connected",
                                   "volt connected again")
        self.assertEqual(again["input"]["kind"], "Napětí")

    def test_polling_stops_with_the_last_stream(self):
        self.wait_connected()
        stream = self.bench()
        stream.wait_for(lambda e, d: e == "live" and d["id"] == "pt", "a live event of pt")
        # Shut down, not just closed: the reading thread holds the socket.
        stream.response.fp.raw._sock.shutdown(socket.SHUT_RDWR)
        # The worker notices within a poll or two; then the line stands still.
        deadline = time.monotonic() + WAIT
        before = -1
        while before != len(self.sims[1].requests()):
            self.assertLess(time.monotonic(), deadline)
            before = len(self.sims[1].requests())
            time.sleep(2.5)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
