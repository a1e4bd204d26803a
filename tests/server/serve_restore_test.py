#!/usr/bin/env python3
"""dnx8 serve's backup, diff, restore and batch restore against dnx8sim
processes, compared with what dnx8 backup, dnx8 diff and dnx8 restore do.
Every wait is on a condition.

Usage: serve_restore_test.py DNX8 DNX8SIM"""

import json
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

from serve_api_test import DNX8, WAIT, Events, Server, Simulator

POINTS = "0 0\n1 1.2\n2 2.1\n3 3.3\n4 3.9\n5 5.2\n"


class Restore(unittest.TestCase):
    """A pt100 simulator served, and fresh ones added as targets."""

    def setUp(self):
        # Cleanups, not tearDown: they run after a failed setUp too, so no
        # simulator or server outlives the test holding the runner's output.
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.sims = {}
        self.addCleanup(lambda: [sim.close() for sim in self.sims.values()])
        self.sims["sim"] = Simulator(self.folder.name)
        self.server = Server(self.sims["sim"].port)
        self.addCleanup(lambda: self.assertEqual(self.server.stop(), 0))
        self.streams = []
        self.addCleanup(lambda: [stream.close() for stream in self.streams])
        self.events("sim").state("connected")

    def events(self, converter):
        stream = Events(self.server, converter)
        self.assertEqual(stream.status, 200)
        self.streams.append(stream)
        return stream

    def add(self, name, *args):
        sim = Simulator(self.folder.name, name, *args)
        self.sims[name] = sim
        status, _, entry = self.server.request("POST", "/api/converters", {"port": sim.port})
        self.assertEqual(status, 201, entry)
        return sim

    def backup(self, converter="sim", query=""):
        status, response, body = self.server.request("GET", f"/api/converters/{converter}/backup{query}")
        self.assertEqual(status, 200, body)
        return response, body

    def quiet(self, sim):
        """Waits until nothing polls the line: no stream watches it."""
        for stream in self.streams:
            stream.close()
        self.streams = []
        before = -1
        while before != len(sim.requests()):
            before = len(sim.requests())
            time.sleep(1.5)
        return before

    def test_backup_is_the_file_of_dnx8_backup(self):
        response, served = self.backup()
        self.assertEqual(response.getheader("Content-Type"), "application/json; charset=utf-8")
        disposition = response.getheader("Content-Disposition")
        self.assertRegex(disposition, r'^attachment; filename="dnx8-240117-\d{4}-\d{2}-\d{2}\.json"$')
        self.assertEqual(response.getheader("X-Dnx8-Not-Restorable"), "0")
        # The command needs the line, so the server lets it go for a while.
        self.assertEqual(self.server.request("DELETE", "/api/converters/sim")[0], 204)
        run = subprocess.run([DNX8, "backup", self.sims["sim"].port], capture_output=True, text=True, timeout=WAIT)
        self.assertEqual(run.returncode, 0, run.stderr)
        # The file holds no time stamp: equal as a whole.
        self.assertEqual(served, json.loads(run.stdout))

    def test_failed_read_gives_no_file_unless_partial(self):
        sim = self.sims["sim"]
        sim.command("fault nak on RangeMin")
        status, response, answer = self.server.request("GET", "/api/converters/sim/backup")
        self.assertEqual(status, 502, answer)
        self.assertIn("RangeMin", answer["failedReads"])
        self.assertIsNone(response.getheader("Content-Disposition"))
        _, partial = self.backup(query="?partial=true")
        self.assertTrue(partial["partial"])
        self.assertNotIn("RangeMin", partial["configuration"])

    def test_restore_with_preview_into_a_fresh_converter_then_diff_finds_nothing(self):
        self.sims["sim"].command("set Filter 9")
        _, backup = self.backup()
        self.add("fresh", "--preset", "fresh")
        stream = self.events("fresh")
        stream.state("connected")

        before = len(self.sims["fresh"].requests())
        status, _, preview = self.server.request("POST", "/api/converters/fresh/restore?dryRun=true", backup)
        self.assertEqual(status, 200, preview)
        self.assertTrue(preview["restorable"])
        self.assertEqual((preview["obstacles"], preview["choices"], preview["linearization"]), ([], [], "file"))
        self.assertIn("InputType", preview["writes"])
        self.assertIn("Commit", preview["writes"])
        changed = {d["name"] for d in preview["diff"]["differences"]}
        self.assertIn("Filter", changed)
        self.assertIn("InputType", changed)
        # The preview only read.
        sent = [r for r in self.sims["fresh"].requests()[before:] if r.split()[2] != "00"]
        self.assertEqual(sent, [])

        status, _, result = self.server.request("POST", "/api/converters/fresh/restore", backup)
        self.assertEqual(status, 200, result)
        self.assertEqual((result["result"], result["restored"], result["equal"]), ("verified", True, True))
        self.assertEqual(result["writes"]["notSent"], [])
        _, last = stream.wait_for(lambda e, d: e == "progress" and d["step"] == d["total"], "the last progress")
        self.assertEqual(last["total"], len(preview["writes"]))
        _, held = stream.wait_for(lambda e, d: e == "configuration", "the configuration event")
        self.assertEqual(held["Filter"], 9)

        status, _, diff = self.server.request("POST", "/api/converters/fresh/diff", backup)
        self.assertEqual(status, 200, diff)
        self.assertEqual((diff["equal"], diff["differences"]), (True, []))
        self.assertEqual(diff["sources"], [self.sims["fresh"].port, "upload"])

    def test_restore_sends_the_frames_of_dnx8_restore(self):
        self.sims["sim"].command("preset pt100")
        _, backup = self.backup()
        path = os.path.join(self.folder.name, "backup.json")
        with open(path, "w") as f:
            json.dump(backup, f)
        run = subprocess.run([DNX8, "restore", "PORT", path, "--dry-run"], capture_output=True, text=True,
                             timeout=WAIT)
        self.assertEqual(run.returncode, 0, run.stderr)
        expected = [m.group(1) for m in re.finditer(r"^\S+ +((?:[0-9A-F]{2} )+[0-9A-F]{2})$", run.stdout, re.M)]
        self.assertGreater(len(expected), 10, run.stdout)
        target = self.add("target", "--preset", "fresh")
        before = len(target.requests())
        self.assertEqual(self.server.request("POST", "/api/converters/target/restore", backup)[0], 200)
        # Requests that carry data are the writes; reads (the read-back) carry none.
        writes = [r for r in target.requests()[before:] if r.split()[2] != "00"]
        self.assertEqual(writes, expected)

    def test_bad_backups_are_refused_and_nothing_is_sent(self):
        _, backup = self.backup()
        before = self.quiet(self.sims["sim"])
        bad_filter = json.loads(json.dumps(backup))
        bad_filter["configuration"]["Filter"] = 31
        duplicate = json.dumps(backup)[:-1] + ', "version": 1}'
        cases = [
            ("restore", "{\"format\": ", "no JSON object"),
            ("restore", bad_filter, "not a valid backup (1 fault)"),
            ("restore", duplicate, "not a valid backup"),
            ("restore", {"backup": backup, "linearization": {"points": "1 1\n", "order": 2}}, "valid points"),
            ("diff", bad_filter, "not a valid backup"),
        ]
        for address, body, words in cases:
            status, _, answer = self.server.request("POST", f"/api/converters/sim/{address}", body)
            self.assertEqual(status, 400, (body, answer))
            self.assertIn(words, answer["error"], body)
            self.assertIn("Nothing was sent", answer["error"], body)
        status, _, answer = self.server.request("POST", "/api/converters/sim/restore", bad_filter)
        self.assertTrue(any("Filter" in fault for fault in answer["faults"]), answer)
        for body in ({"converters": ["sim", "nobody"], "backup": backup}, {"converters": ["sim"], "backup": bad_filter}):
            status, _, answer = self.server.request("POST", "/api/batch/restore", body)
            self.assertEqual(status, 400, answer)
        self.assertEqual(self.server.request("GET", "/api/converters/sim/restore")[0], 405)
        self.server.request("GET", "/api/converters")
        self.assertEqual(self.sims["sim"].requests()[before:], [])

    def test_obstacles_and_their_choices(self):
        self.sims["sim"].command("preset voltage")
        self.sims["sim"].command("set SegmentCount 3")
        response, backup = self.backup()
        self.assertEqual(response.getheader("X-Dnx8-Not-Restorable"), "1")
        target = self.add("target", "--preset", "current")
        status, _, preview = self.server.request("POST", "/api/converters/target/restore?dryRun=true", backup)
        self.assertEqual(status, 200, preview)
        self.assertFalse(preview["restorable"])
        self.assertEqual(preview["choices"], ["keep", "points"])
        self.assertIn("SegmentCount is 3", preview["obstacles"][0])
        self.assertEqual(preview["writes"], [])
        self.assertTrue(preview["diff"]["differences"])

        before = len(target.requests())
        status, _, answer = self.server.request("POST", "/api/converters/target/restore", backup)
        self.assertEqual(status, 400, answer)
        self.assertEqual(answer["choices"], ["keep", "points"])
        self.assertEqual(target.requests()[before:], [])

        status, _, result = self.server.request("POST", "/api/converters/target/restore",
                                                {"backup": backup, "linearization": "keep"})
        self.assertEqual(status, 200, result)
        self.assertEqual(result["result"], "verified")
        self.assertTrue(any("--keep-linearization" in note for note in result["notes"]))
        self.assertEqual(target.command("get InputType"), self.sims["sim"].command("get InputType"))

        body = {"backup": backup, "linearization": {"points": POINTS, "order": 2}}
        status, _, preview = self.server.request("POST", "/api/converters/target/restore?dryRun=true", body)
        self.assertEqual((status, preview["restorable"], preview["linearization"]), (200, True, "points"), preview)
        status, _, result = self.server.request("POST", "/api/converters/target/restore", body)
        self.assertEqual((status, result["result"]), (200, "verified"), result)
        self.assertEqual(target.command("get CurveDegree"), ["CurveDegree 2"])
        status, _, result = self.server.request(
            "POST", "/api/converters/target/restore",
            {"backup": backup, "linearization": {"points": POINTS, "spline": True}})
        self.assertEqual((status, result["result"]), (200, "verified"), result)

    def test_interrupted_restore_tells_which_writes_went(self):
        _, backup = self.backup()
        target = self.add("target", "--preset", "fresh")
        # A first write takes the as-found copy, which needs every read; the
        # fault comes after it.
        status, _, body = self.server.request("POST", "/api/converters/target/settings", {"Filter": 1})
        self.assertEqual(status, 200, body)
        target.command("fault nak on ScaleMax")
        status, _, result = self.server.request("POST", "/api/converters/target/restore", backup)
        self.assertEqual(status, 502, result)
        self.assertEqual((result["result"], result["restored"]), ("failed", False))
        self.assertIn("ScaleMax", result["writes"]["refused"])
        self.assertIn("Relay1", result["writes"]["notSent"])
        self.assertIn("Chyba komunikace", result["error"])

    def test_batch_restore_into_four_converters_at_once(self):
        self.sims["sim"].command("set Filter 11")
        _, backup = self.backup()
        names = ["t1", "t2", "t3", "t4"]
        streams = {}
        for name in names:
            self.add(name, "--preset", "fresh")
            streams[name] = self.events(name)
            streams[name].state("connected")
        foreign = self.add("foreign", "--preset", "fresh")
        foreign.command("identity DNX7")
        before = len(foreign.requests())
        status, _, reply = self.server.request("POST", "/api/batch/restore",
                                               {"converters": names + ["foreign"], "backup": backup})
        self.assertEqual(status, 200, reply)
        self.assertEqual([r["id"] for r in reply["results"]], names + ["foreign"])
        self.assertEqual([r["result"] for r in reply["results"]], ["verified"] * 4 + ["skipped"])
        self.assertIn("not as a DNX8", reply["results"][4]["error"])
        self.assertEqual(reply["summary"], {"total": 5, "verified": 4, "differences": 0, "failed": 0, "skipped": 1})
        self.assertEqual([r for r in foreign.requests()[before:] if r.split()[2] != "00"], [])
        for name in names:
            streams[name].wait_for(lambda e, d: e == "progress" and d["step"] == d["total"], name + " done")
            self.assertEqual(self.sims[name].command("get Filter"), ["Filter 11"])

    def test_read_only_refuses_restore_but_previews(self):
        _, backup = self.backup()
        other = Simulator(self.folder.name, "other")
        self.sims["other"] = other
        server = Server(other.port, "--read-only")
        try:
            status, _, answer = server.request("POST", "/api/converters/other/restore", backup)
            self.assertEqual(status, 403, answer)
            self.assertEqual(server.request("POST", "/api/batch/restore",
                                            {"converters": ["other"], "backup": backup})[0], 403)
            Events(server, "other").state("connected")
            status, _, preview = server.request("POST", "/api/converters/other/restore?dryRun=true", backup)
            self.assertEqual((status, preview["writes"][-1]), (200, "Relay2"), preview)
            self.assertEqual([r for r in other.requests() if r.split()[2] != "00"], [])
        finally:
            self.assertEqual(server.stop(), 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
