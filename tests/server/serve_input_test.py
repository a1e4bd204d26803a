#!/usr/bin/env python3
"""dnx8 serve's input configuration against dnx8sim: the frames equal those of
`dnx8 input` on the same simulator, a thermocouple with its progress, a
linearization overwrite with an order chosen from /api/fit's report, and
bad bodies refused with nothing sent.

Usage: serve_input_test.py DNX8 DNX8SIM"""

import json
import os
import subprocess
import sys
import tempfile
import time
import unittest

import serve_api_test as api
from serve_api_test import WAIT, Events, Server, Simulator

DNX8 = api.DNX8
COMMIT = "2B"

# Points of a slightly curved sensor: order 2 leaves a clear residual, from
# order 3 on the fit meets them.
POINTS = "".join("%g %.9g\n" % (x, 0.5 + 2 * x + 0.01 * x * x + 0.0004 * x ** 3) for x in range(0, 100, 9))


def writes(frames):
    """The frames of a write sequence: those that carry data, and Commit."""
    return [f for f in frames if f.split()[2] != "00" or f.split()[1] == COMMIT]


class InputServed(unittest.TestCase):
    def setUp(self):
        # Cleanups run after a failed setUp too: nothing outlives the test.
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.sim = Simulator(self.folder.name)
        self.addCleanup(self.sim.close)
        self.server = Server(self.sim.port)
        self.addCleanup(lambda: self.assertEqual(self.server.stop(), 0))
        self.stream = Events(self.server, "sim")
        self.addCleanup(self.stream.close)
        self.stream.state("connected")

    def input(self, body):
        return self.server.request("POST", "/api/converters/sim/input", body)

    def fit(self, text, query=""):
        return self.server.request("POST", "/api/fit" + query, json.dumps(text))

    def point_file(self, text):
        path = os.path.join(self.folder.name, "points.txt")
        with open(path, "w") as f:
            f.write(text)
        return path

    def cli_frames(self, *args):
        """The write frames of the same `dnx8 input` on the same simulator,
        once the server has let go of its port."""
        self.assertEqual(self.server.request("DELETE", "/api/converters/sim")[0], 204)
        self.stream.wait_for(lambda e, d: e == "end", "the stream's end")
        mark = len(self.sim.requests())
        run = subprocess.run([DNX8, "input", self.sim.port, *args], capture_output=True, text=True, timeout=WAIT)
        self.assertEqual(run.returncode, 0, run.stderr)
        return writes(self.sim.requests()[mark:])

    def test_pt100_three_wire_sends_the_frames_of_dnx8_input(self):
        mark = len(self.sim.requests())
        status, _, answer = self.input({"kind": "rtd", "sensor": "PT100", "wiring": "3"})
        self.assertEqual(status, 200, answer)
        self.assertTrue(answer["complete"])
        self.assertEqual(answer["mismatches"], [])
        self.assertEqual(answer["input"]["sensor"], "Pt 100 (3850)")
        self.assertEqual(answer["input"]["wiring"], "Třídrát")
        self.assertEqual(answer["configuration"]["InputType"], 7)
        served = writes(self.sim.requests()[mark:])
        self.assertEqual(served[-1].split()[1], COMMIT)
        _, changed = self.stream.wait_for(lambda e, d: e == "configuration", "the input's configuration event")
        self.assertEqual(changed["InputType"], 7)
        self.assertEqual(self.cli_frames("rtd", "--sensor", "pt100", "--wiring", "3"), served)

    def test_k_thermocouple_with_progress(self):
        status, _, answer = self.input({"kind": "thermocouple", "type": "k", "compensation": "2wire"})
        self.assertEqual(status, 200, answer)
        self.assertEqual(answer["input"]["sensor"], "K (Chromel-Alumel)")
        self.assertEqual(answer["configuration"]["InputType"], 14)
        self.assertEqual(answer["configuration"]["CurveDegree"], 3)
        self.assertEqual(answer["configuration"]["SegmentCount"], 0)
        self.assertEqual(self.sim.command("get InputType"), ["InputType 14"])
        # One progress event a frame, up to the sequence's frame count.
        steps = []
        while not steps or steps[-1]["step"] < steps[-1]["total"]:
            steps.append(self.stream.wait_for(lambda e, d: e == "progress", "progress")[1])
        self.assertEqual([s["step"] for s in steps], list(range(1, steps[-1]["total"] + 1)))
        self.assertEqual(steps[-1]["total"], len(answer["writes"]["confirmed"]))

    def test_overwrite_with_an_order_chosen_from_the_report(self):
        status, _, report = self.fit(POINTS)
        self.assertEqual(status, 200, report)
        self.assertEqual(report["points"], 12)
        self.assertEqual(report["preselected"], 5)
        orders = {e["degree"]: e for e in report["report"] if e["method"] == "polynomial"}
        self.assertEqual(sorted(orders), list(range(2, 10)))
        self.assertIn("spline", [e["method"] for e in report["report"]])
        self.assertGreater(orders[2]["maxResidual"], 10 * orders[3]["maxResidual"])
        chosen = report["lowestWithin10Percent"]
        self.assertEqual(chosen, 3)
        self.assertEqual(report["plot"]["degree"], 5)  # the preselection drawn at first
        status, _, drawn = self.fit(POINTS, "?order=%d" % chosen)
        self.assertEqual(status, 200, drawn)
        self.assertIn("3. řádu", drawn["plot"]["svg"])
        self.assertTrue(drawn["plot"]["svg"].startswith("<?xml") or drawn["plot"]["svg"].startswith("<svg"))

        mark = len(self.sim.requests())
        status, _, answer = self.input({"kind": "resistance", "wiring": "3",
                                        "linearization": {"points": POINTS, "order": chosen}})
        self.assertEqual(status, 200, answer)
        config = answer["configuration"]
        self.assertEqual((config["InputType"], config["CurveDegree"], config["SegmentCount"]), (5 + 2, 3, 0))
        self.assertEqual((config["RangeMin"], config["RangeMax"]), (report["min"], report["max"]))
        self.assertEqual(answer["mismatches"], [])
        self.assertEqual(answer["pointFile"]["skippedLines"], [])
        served = writes(self.sim.requests()[mark:])
        self.assertEqual(self.cli_frames("resistance", "--wiring", "3", "--linearization",
                                         self.point_file(POINTS), "--order", "3"), served)

    def test_point_file_check_of_an_upload(self):
        text = "\ufeff0 0\n1 1\n2,5 3\n2 4\nx 1\n3 9\n3 10\n4 16\n"
        status, _, report = self.fit(text, "?spline=true")
        self.assertEqual(status, 200, report)
        self.assertTrue(report["byteOrderMark"])
        self.assertEqual([(l["line"], l["reason"].split(";")[0]) for l in report["skippedLines"]],
                         [(1, "starts with a UTF-8 byte-order mark"), (3, "decimal comma"),
                          (5, "the first field is not a number")])
        self.assertEqual(report["repeatedX"], [3.0])
        self.assertEqual(report["plot"]["method"], "spline")
        for text, query, words in [("0 0\n1 1\n", "", "holds 2 valid points"),
                                   ("0 0\n1 1\n2 4\n3 9\n", "?order=4", "allow orders 2..3"),
                                   ("0 0\n1 1\n2 4\n", "?order=x", "order is a whole number"),
                                   ("0 0\n1 1\n2 4\n", "?order=2&spline=true", "not both"),
                                   ("1000 2000\n" * 5000, "", "too large")]:
            status, _, answer = self.fit(text, query)
            self.assertEqual(status, 400, (query, answer))
            self.assertIn(words, answer["error"])
        status, _, answer = self.server.request("POST", "/api/fit", {"points": "0 0"})
        self.assertEqual(status, 400)

    def test_an_interrupted_sequence_is_no_success(self):
        # A first write takes the as-found copy, which needs every read; the
        # silence comes after it.
        self.assertEqual(self.server.request("POST", "/api/converters/sim/settings", {"Filter": 1})[0], 200)
        self.sim.command("fault silence on")
        status, _, answer = self.input({"kind": "rtd", "sensor": "pt100", "wiring": "3"})
        # Fails on the line (502), unless a live poll found the silence first (503).
        self.assertIn(status, (502, 503), answer)
        if status == 502:
            self.assertIn("interrupted", answer["error"])
            self.assertFalse(answer["complete"])
            self.assertIn("InputType", answer["writes"]["unconfirmed"])
            self.assertEqual(answer["writes"]["confirmed"], [])
        self.sim.command("fault clear")
        self.stream.state("connected")

    def test_bad_bodies_are_refused_and_nothing_is_sent(self):
        self.stream.close()
        # Once no stream watches the polls stop: wait until the trace stands still.
        before = -1
        while before != len(self.sim.requests()):
            before = len(self.sim.requests())
            time.sleep(1.5)
        few = {"points": "0 0\n1 1\n2 4\n3 9\n"}
        cases = [
            ("{\"kind\": \"rtd\"", "JSON object"),
            ({"kind": "heater"}, "kind is one of"),
            ({"kind": "rtd", "sensor": "pt100", "wiring": "3", "colour": 1}, "unknown key \"colour\""),
            ({"kind": "rtd", "sensor": "pt100", "wiring": "3", "linearization": "keep"}, "unknown key"),
            ({"kind": "rtd", "sensor": "pt200", "wiring": "3"}, "sensor is one of"),
            ({"kind": "rtd", "sensor": "pt100", "wiring": 3}, "wiring is one of"),
            ({"kind": "thermocouple", "type": "K"}, "needs compensation"),
            ({"kind": "voltage", "variant": "1V"}, "needs linearization"),
            ({"kind": "voltage", "variant": "1V", "divider": "2", "linearization": "keep"}, "JSON number"),
            ({"kind": "voltage", "variant": "1V", "divider": 0, "linearization": "keep"}, "above zero"),
            ({"kind": "current", "variant": "shunt", "shunt": -5.0, "linearization": "keep"}, "above zero"),
            ({"kind": "voltage", "variant": "10V", "divider": 2.0, "linearization": "keep"}, "no divider"),
            ({"kind": "current", "variant": "20mA", "shunt": 2.0, "linearization": "keep"}, "its own shunt"),
            ({"kind": "voltage", "variant": "1V", "linearization": {"off": [0]}}, "[MIN, MAX]"),
            ({"kind": "voltage", "variant": "1V", "linearization": {"off": [0, 1e39]}}, "too large"),
            ({"kind": "voltage", "variant": "1V", "linearization": "on"}, "linearization is"),
            ({"kind": "resistance", "wiring": "3", "linearization": dict(few, order=5)}, "allow orders 2..3"),
            ({"kind": "resistance", "wiring": "3", "linearization": dict(few, order=3, spline=True)}, "stands alone"),
            ({"kind": "resistance", "wiring": "3", "linearization": {"points": "0 0\n1 1\n"}}, "2 valid points"),
            ({"kind": "resistance", "wiring": "3", "linearization": {"points": "1000 2000\n" * 5000}}, "too large"),
        ]
        for body, words in cases:
            status, _, answer = self.input(body)
            self.assertEqual(status, 400, body)
            self.assertIn(words, answer["error"], body)
            self.assertIn("Nothing was sent", answer["error"], body)
        self.server.request("GET", "/api/converters")
        self.assertEqual(self.sim.requests()[before:], [])
        self.assertEqual(self.sim.command("get InputType"), ["InputType 2"])


class ReadOnly(unittest.TestCase):
    def test_input_is_refused_and_the_fit_report_still_answers(self):
        with tempfile.TemporaryDirectory() as folder:
            sim = Simulator(folder)
            server = Server(sim.port, "--read-only")
            try:
                status, _, answer = server.request("POST", "/api/converters/sim/input",
                                                   {"kind": "rtd", "sensor": "pt100", "wiring": "3"})
                self.assertEqual(status, 403)
                self.assertIn("--read-only", answer["error"])
                status, _, report = server.request("POST", "/api/fit", json.dumps(POINTS))
                self.assertEqual(status, 200)
                self.assertEqual(sim.command("get InputType"), ["InputType 2"])
            finally:
                self.assertEqual(server.stop(), 0)
                sim.close()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
