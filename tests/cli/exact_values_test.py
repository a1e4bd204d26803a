#!/usr/bin/env python3
"""Values a script can trust: the CSV and JSON of watch, read, set, input,
diff and restore carry every value in the fewest digits that read back to
the same float32, while their text keeps the window's decimals. The raw
texts are checked, not parsed numbers, so a value written with needless
digits ("0.0010000000474974513") fails as surely as a rounded one.

Usage: exact_values_test.py DNX8 DNX8SIM"""

import json
import os
import sys
import tempfile
import unittest

from report_program_test import Simulator, dnx8

# Live values pinned where float32 has no short exact form in double.
PINNED = ("live LiveInput 0.1", "live LiveProcess 1e-07", "live LiveValue 123.456", "live LiveRatio 0.001")


class ExactValues(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.sim = Simulator(self.folder.name, "voltage", *PINNED)
        self.addCleanup(self.sim.__exit__)

    def test_set_and_read(self):
        run = dnx8("set", self.sim.port, "scale-min=0.001", "scale-max=123.456", "relay1=hysteresis,0.1,2,1e-7,3",
                   "--json")
        self.assertEqual(run.returncode, 0, run.stderr)
        for text in ('"held": 0.001,', '"held": 123.456,', '"onValue": 0.1,', '"offValue": 1e-07,'):
            self.assertIn(text, run.stdout)
        run = dnx8("set", self.sim.port, "scale-min=0.001")
        self.assertRegex(run.stdout, r"Min:\s+0\.00\n")  # the window's two decimals

        run = dnx8("read", self.sim.port, "--json")
        self.assertEqual(run.returncode, 0, run.stderr)
        for text in ('"ScaleMin": 0.001,', '"ScaleMax": 123.456,', '"onValue": 0.1,', '"offValue": 1e-07,'):
            self.assertIn(text, run.stdout)
        text = dnx8("read", self.sim.port).stdout
        self.assertRegex(text, r"\nMin:\s+0\.00\n")
        self.assertRegex(text, r"\nMax:\s+123\.46\n")

    def test_watch(self):
        run = dnx8("watch", self.sim.port, "--count", "1", "--csv")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertTrue(run.stdout.splitlines()[1].endswith(",0.1,1e-07,123.456,0.1"), run.stdout)
        run = dnx8("watch", self.sim.port, "--count", "1", "--json")
        self.assertIn('"input":0.1,"process":1e-07,"value":123.456,"ratio":0.001,', run.stdout)
        run = dnx8("watch", self.sim.port, "--count", "1")
        self.assertRegex(run.stdout.splitlines()[1], r"\s0\.100\s+0\.000\s+123\.46\s+0\.10$")

    def test_input_diff_and_restore(self):
        run = dnx8("input", self.sim.port, "voltage", "--variant", "1V", "--range", "0.001", "123.456", "--json")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn('"RangeMin": 0.001,', run.stdout)
        self.assertIn('"RangeMax": 123.456,', run.stdout)
        self.assertRegex(dnx8("input", self.sim.port, "voltage", "--variant", "1V", "--range", "0.001",
                              "123.456").stdout, r"Rozsah max:\s+123\.46\n")

        backup = os.path.join(self.folder.name, "backup.json")
        self.assertEqual(dnx8("backup", self.sim.port, "-o", backup).returncode, 0)
        with open(backup) as f:
            data = json.load(f)
        data["configuration"]["ScaleMax"] = 100000.5  # the converter keeps at most 99999
        data["configuration"]["Relay2"]["onValue"] = 0.3
        changed = os.path.join(self.folder.name, "changed.json")
        with open(changed, "w") as f:
            json.dump(data, f)
        run = dnx8("diff", self.sim.port, changed, "--json")
        self.assertEqual(run.returncode, 3, run.stderr)
        differences = {d["name"]: (d["left"], d["right"]) for d in json.loads(run.stdout)["differences"]}
        self.assertEqual(differences["ScaleMax"], ("100", "100000.5"))
        self.assertEqual(differences["Relay2.onValue"], ("20", "0.3"))
        run = dnx8("restore", self.sim.port, changed, "--json")
        self.assertEqual(run.returncode, 3, run.stderr)
        self.assertEqual(json.loads(run.stdout)["differences"],
                         [{"name": "ScaleMax", "asked": "100000.5", "held": "99999"}])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
