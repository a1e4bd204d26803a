#!/usr/bin/env python3
"""dnx8 serve's journal and as-found copies against dnx8sim: the copy saved
before the first write and only then, a journal line for every write with
the client's address and the echo or the failure, a journal that reads
back after a cut last line, and a data folder that cannot be written.

Usage: serve_journal_test.py DNX8 DNX8SIM"""

import json
import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from serve_api_test import DNX8, WAIT, Events, Server, Simulator


class Journal(unittest.TestCase):
    def setUp(self):
        # Cleanups run after a failed setUp too: nothing outlives the test.
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.sim = Simulator(self.folder.name)
        self.addCleanup(self.sim.close)
        self.data = os.path.join(self.folder.name, "data", "dnx8")
        self.server = None
        self.addCleanup(self.stop_server)
        self.start()

    def start(self):
        self.stream = None
        self.server = Server(self.sim.port, "--data", self.data)
        self.stream = Events(self.server, "sim")
        self.stream.state("connected")

    def stop_server(self):
        if self.server is None:
            return
        if self.stream:
            self.stream.close()
        if self.server.process.poll() is None:
            self.assertEqual(self.server.stop(), 0)

    def write(self, body):
        return self.server.request("POST", "/api/converters/sim/settings", body)

    def journal(self, query=""):
        status, _, body = self.server.request("GET", "/api/converters/sim/journal" + query)
        self.assertEqual(status, 200, body)
        return body

    def copies(self):
        return sorted(n for n in os.listdir(self.data) if n.startswith("as-found-"))

    def writes_sent(self):
        return [r for r in self.sim.requests() if r.split()[2] != "00"]

    def test_first_write_saves_the_converter_as_found_and_every_write_is_journalled(self):
        self.assertFalse(os.path.exists(self.data))  # made when first needed
        status, _, answer = self.write({"Filter": 9, "ScaleMin": 0.5})
        self.assertEqual(status, 200, answer)
        copies = self.copies()
        self.assertEqual(len(copies), 1)
        self.assertRegex(copies[0], r"^as-found-240117-\d{8}T\d{6}Z\.json$")
        with open(os.path.join(self.data, copies[0])) as f:
            text = f.read()
        found = json.loads(text)
        self.assertEqual(found["format"], "dnx8-configuration")
        self.assertEqual(found["serialNumber"], 240117)
        self.assertEqual(found["configuration"]["Filter"], 5)  # before the write
        self.assertFalse(found.get("partial", False))

        body = self.journal()
        self.assertEqual(body["serialNumber"], 240117)
        self.assertEqual([(l["parameter"], l["sent"], l["echo"]) for l in body["lines"]],
                         [("Filter", "9", "9"), ("ScaleMin", "0.5", "0.5")])
        for line in body["lines"]:
            self.assertEqual(line["client"], "127.0.0.1")
            self.assertEqual(line["serialNumber"], 240117)
            self.assertNotIn("failure", line)
        self.assertEqual([c["name"] for c in body["asFound"]], copies)
        status, response, served = self.server.request("GET", body["asFound"][0]["address"])
        self.assertEqual(status, 200)
        self.assertEqual(served, found)
        self.assertIn("attachment", response.getheader("Content-Disposition"))

        # A second write: journalled, no second copy.
        self.assertEqual(self.write({"Relay1": {"onValue": 80, "offValue": 75, "onDelay": 2, "offDelay": 2,
                                                "mode": 0}})[0], 200)
        self.assertEqual(self.copies(), copies)
        lines = self.journal()["lines"]
        self.assertEqual(len(lines), 3)
        self.assertEqual((lines[2]["parameter"], lines[2]["sent"]), ("Relay1", "80 75 2 2 0"))
        # Fewer lines when asked: the newest.
        limited = self.journal("?limit=1")
        self.assertEqual((len(limited["lines"]), limited["more"]), (1, True))
        self.assertEqual(limited["lines"][0]["parameter"], "Relay1")
        self.assertEqual(self.server.request("GET", "/api/converters/sim/journal?limit=0")[0], 400)

    def test_a_name_not_listed_is_never_read(self):
        self.assertEqual(self.write({"Filter": 9})[0], 200)
        with open(os.path.join(self.folder.name, "data", "secret.json"), "w") as f:
            f.write("{}")
        for name in ("..%2Fsecret.json", "..", "as-found-240117-20000101T000000Z.json",
                     "as-found-240117-x.json", "journal.jsonl"):
            status, _, answer = self.server.request("GET", "/api/converters/sim/as-found/" + name)
            self.assertEqual(status, 404, name)
            self.assertIn("error", answer)

    def test_a_failed_write_is_journalled_with_its_failure(self):
        self.assertEqual(self.write({"Filter": 9})[0], 200)
        self.sim.command("fault nak once Filter")
        status, _, answer = self.write({"Filter": 4, "ScaleMax": 50})
        self.assertEqual(status, 502, answer)
        lines = self.journal()["lines"]
        self.assertEqual(len(lines), 2)  # ScaleMax was never sent
        failed = lines[-1]
        self.assertEqual((failed["parameter"], failed["sent"]), ("Filter", "4"))
        self.assertNotIn("echo", failed)
        self.assertIn("refused", failed["failure"])

    def test_an_unreadable_converter_is_not_written(self):
        self.sim.command("fault silence on")
        status, _, answer = self.write({"Filter": 4})
        self.assertIn(status, (502, 503), answer)
        if status == 502:
            self.assertIn("as-found", answer["error"])
        self.assertEqual(self.writes_sent(), [])
        self.assertFalse(os.path.exists(self.data) and self.copies())
        self.sim.command("fault clear")
        # The server may have found the silence and be reconnecting (503).
        deadline = time.monotonic() + WAIT
        while True:
            status, _, answer = self.write({"Filter": 4})
            if status != 503 or time.monotonic() > deadline:
                break
            self.stream.wait_for(lambda e, d: e == "state", "a change of state")
        self.assertEqual(status, 200, answer)
        self.assertEqual(len(self.copies()), 1)

    def test_another_converter_on_the_port_gets_its_own_copy(self):
        self.assertEqual(self.write({"Filter": 9})[0], 200)
        self.sim.command("line close")
        self.stream.state("disconnected")
        self.sim.command("set SerialNumber 240118")
        self.sim.command("line open")
        _, state = self.stream.state("connected")
        self.assertEqual(state["serialNumber"], 240118)
        self.assertIn("serial number changed from 240117 to 240118", state["message"])
        self.assertEqual(self.write({"Filter": 3})[0], 200)
        copies = self.copies()
        self.assertEqual(len(copies), 2)
        self.assertTrue(any(c.startswith("as-found-240118-") for c in copies))
        body = self.journal()
        self.assertEqual([(l["serialNumber"], l["sent"]) for l in body["lines"]], [(240118, "3")])
        self.assertEqual(len(body["asFound"]), 1)

    def test_the_journal_reads_back_after_a_cut_last_line(self):
        self.assertEqual(self.write({"Filter": 9})[0], 200)
        # A server killed in the middle of an append leaves half a line.
        self.server.process.send_signal(signal.SIGKILL)
        self.server.process.wait(timeout=WAIT)
        self.server.process.stdout.close()
        self.server.process.stderr.close()
        self.stream.close()
        journal = os.path.join(self.data, "journal.jsonl")
        with open(journal, "a") as f:
            f.write('{"time": "2026-')
        self.start()
        lines = self.journal()["lines"]
        self.assertEqual([l["sent"] for l in lines], ["9"])
        self.assertEqual(self.write({"Filter": 8})[0], 200)
        self.assertEqual([l["sent"] for l in self.journal()["lines"]], ["9", "8"])
        with open(journal) as f:
            raw = f.read().split("\n")
        self.assertEqual(raw[1], '{"time": "2026-')  # the cut line stays on a line of its own
        self.assertEqual(json.loads(raw[2])["sent"], "8")
        # The new server had no copy of its own yet: it made one.
        self.assertEqual(len(self.copies()), 2)


class DataFolderAtStart(unittest.TestCase):
    def test_a_folder_that_cannot_be_written_is_refused_at_start(self):
        with tempfile.TemporaryDirectory() as folder:
            blocker = os.path.join(folder, "file")
            open(blocker, "w").close()
            for data in (os.path.join(blocker, "dnx8"), blocker):
                run = subprocess.run([DNX8, "serve", "--listen", "127.0.0.1:0", "--data", data],
                                     capture_output=True, text=True, timeout=WAIT)
                self.assertEqual(run.returncode, 2, run.stderr)
                self.assertEqual(run.stdout, "")
                self.assertIn("--data", run.stderr)
                self.assertIn("not a folder", run.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
