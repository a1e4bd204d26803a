#!/usr/bin/env python3
"""dnx8 fit --report and dnx8 report run as programs: the figures of files
whose answer is known, the SVG and the page read by Python's own XML and HTML
parsers, and the record of a converter simulated by dnx8sim.

Usage: report_program_test.py DNX8 DNX8SIM"""

import html.parser
import json
import math
import os
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

DNX8, DNX8SIM = sys.argv[1], sys.argv[2]
SVG = "{http://www.w3.org/2000/svg}"


def dnx8(*args):
    return subprocess.run([DNX8, *args], capture_output=True, text=True, timeout=60)


def write_points(folder, name, points):
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        for x, y in points:
            f.write("%.17g %.17g\n" % (x, y))
    return path


class Simulator:
    """dnx8sim on a pseudo-terminal; ready once it has printed its line."""

    def __init__(self, folder, preset, *controls):
        self.port = os.path.join(folder, "port")
        self.trace = os.path.join(folder, "trace")
        args = [DNX8SIM, "--preset", preset, "--link", self.port, "--trace", self.trace]
        for line in controls:
            args += ["-c", line]
        self.process = subprocess.Popen(args, stdout=subprocess.PIPE, text=True)
        self.process.stdout.readline()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()


class BalancedTags(html.parser.HTMLParser):
    """Every element the page opens is closed in order (void elements aside)."""

    VOID = {"meta", "br", "img", "hr", "input", "link"}

    def __init__(self):
        super().__init__()
        self.open = []
        self.tags = set()
        self.problems = []
        self.charset = None

    def handle_starttag(self, tag, attrs):
        self.tags.add(tag)
        if tag == "meta":
            self.charset = dict(attrs).get("charset")
        if tag not in self.VOID:
            self.open.append(tag)

    def handle_startendtag(self, tag, attrs):
        self.tags.add(tag)
        if tag == "meta":
            self.charset = dict(attrs).get("charset")

    def handle_endtag(self, tag):
        if not self.open or self.open.pop() != tag:
            self.problems.append("unexpected </%s>" % tag)


def check_self_contained(test, text):
    # The only URL is the SVG namespace; nothing is loaded or run.
    test.assertEqual(text.count("http"), text.count("http://www.w3.org/2000/svg"))
    for banned in ("<script", "<link", "src=", "@import", "href="):
        test.assertNotIn(banned, text)


class FitReport(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.folder.cleanup()

    def report(self, points):
        path = write_points(self.folder.name, "points.txt", points)
        run = dnx8("fit", path, "--report", "--json")
        self.assertEqual(run.returncode, 0, run.stderr)
        return {(e["method"], e.get("degree")): e for e in json.loads(run.stdout)["report"]}

    def test_exact_cubic_is_met_from_order_three(self):
        cubic = [(x / 2, 1 + x - x * x / 8 + x ** 3 / 32) for x in range(-6, 7)]
        entries = self.report(cubic)
        self.assertGreater(entries[("polynomial", 2)]["maxResidual"], 0.1)
        for order in range(3, 10):
            entry = entries[("polynomial", order)]
            self.assertLess(entry["maxResidual"], 1e-5, order)
            self.assertFalse(entry["float32Warning"], order)
        self.assertIn(("spline", None), entries)

    def test_far_from_zero_warns_on_orders_eight_and_nine(self):
        points = [(100000.0 + 1000 * i, 5 - 2e-4 * (100000.0 + 1000 * i) + 3e-9 * (100000.0 + 1000 * i) ** 2
                   + 1e-4 * math.sin(1.7 * i * i)) for i in range(21)]
        entries = self.report(points)
        self.assertFalse(entries[("polynomial", 2)]["float32Warning"])
        for order in (8, 9):
            self.assertTrue(entries[("polynomial", order)]["float32Warning"], order)
            self.assertLess(entries[("polynomial", order)]["maxResidual80"], 3e-4, order)

    def test_fit_and_its_report_write_the_range_alike(self):
        path = write_points(self.folder.name, "range.txt", [(0.1 * i, i * i) for i in range(8)])
        heads = []
        for args in ((), ("--report",)):
            run = dnx8("fit", path, *args)
            self.assertEqual(run.returncode, 0, run.stderr)
            heads.append([l for l in run.stdout.splitlines() if l.split(":")[0] in ("Bodů", "Min", "Max")])
        self.assertEqual(heads[0], heads[1])
        self.assertIn("Max:    6.999999881E-01", heads[0])

    def test_picture_is_a_well_formed_self_contained_svg(self):
        points = [(t * 0.5, math.sqrt(t + 1)) for t in range(30)]
        path = write_points(self.folder.name, "body ř.txt", points)
        picture = os.path.join(self.folder.name, "fit.svg")
        run = dnx8("fit", path, "--report", "--order", "3", "--svg", picture)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("3. řádu", run.stdout)
        root = ElementTree.parse(picture).getroot()
        self.assertEqual(root.tag, SVG + "svg")
        marks = [c for c in root.iter(SVG + "circle") if c.get("class") == "point"]
        self.assertEqual(len(marks), len(points))
        self.assertTrue([p for p in root.iter(SVG + "polyline") if p.get("class") == "curve"])
        texts = [t.text for t in root.iter(SVG + "text")]
        self.assertIn("body ř.txt: Aproximační polynom 3. řádu", texts)
        with open(picture, encoding="utf-8") as f:
            check_self_contained(self, f.read())


class Record(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.page = os.path.join(self.folder.name, "record.html")

    def tearDown(self):
        self.folder.cleanup()

    def read_page(self):
        with open(self.page, encoding="utf-8") as f:
            text = f.read()
        ElementTree.fromstring(text)  # also well-formed XML
        tags = BalancedTags()
        tags.feed(text)
        tags.close()
        self.assertEqual(tags.problems, [])
        self.assertEqual(tags.open, [])
        self.assertEqual(tags.charset, "utf-8")
        check_self_contained(self, text)
        return text, tags

    def test_record_names_serial_number_and_sensor(self):
        with Simulator(self.folder.name, "pt100") as sim:
            run = dnx8("report", sim.port, "-o", self.page)
        self.assertEqual(run.returncode, 0, run.stderr)
        text, tags = self.read_page()
        self.assertIn("<td>240117</td>", text)
        self.assertIn("<td>Pt 100 (3850)</td>", text)
        self.assertIn("<td>Třídrát</td>", text)
        self.assertIn("svg", tags.tags)
        self.assertNotIn("Chyba komunikace", text)

    def test_failed_read_still_writes_the_page(self):
        with Simulator(self.folder.name, "thermocouple-k", "fault nak on Relay2") as sim:
            run = dnx8("report", sim.port, "-o", self.page)
        self.assertEqual(run.returncode, 1)
        self.assertIn("Relay2", run.stderr)
        text, _ = self.read_page()
        self.assertIn("K (Chromel-Alumel)", text)
        self.assertEqual(text.count("Chyba komunikace"), 1)

    def test_measuring_point_and_lines_to_sign(self):
        with Simulator(self.folder.name, "pt100") as sim:
            run = dnx8("report", sim.port, "-o", self.page, "--tag", "  TT-101 <A&B>  ",
                       "--location", "Kotelna \"Jih\" & 'sever'", "--technician", "Jiří Čermák",
                       "--note", "Kalibrováno 5 bodů.\nPříště: 2025 </td>")
        self.assertEqual(run.returncode, 0, run.stderr)
        text, _ = self.read_page()
        root = ElementTree.fromstring(text)
        point = root.find(".//section[@class='point']")
        self.assertEqual(point.find("h2").text, "Měřicí místo")
        rows = {tr.find("th").text: tr.find("td").text for tr in point.iter("tr")}
        self.assertEqual(rows, {"Označení": "TT-101 <A&B>", "Umístění": "Kotelna \"Jih\" & 'sever'",
                                "Technik": "Jiří Čermák", "Poznámka": "Kalibrováno 5 bodů.\nPříště: 2025 </td>"})
        signers = root.find(".//div[@class='signers']").findall("section")
        self.assertEqual([s.find("h2").text for s in signers], ["Technik", "Zákazník"])
        for signer, name in zip(signers, ("Jiří Čermák", None)):
            lines = [(tr.find("th").text, tr.find("td").text) for tr in signer.iter("tr")]
            self.assertEqual(lines, [("Jméno", name), ("Datum", None), ("Podpis", None)])

    def test_particulars_that_do_not_fit_read_nothing(self):
        cases = [("--tag", "x" * 41, "at most 40"), ("--location", "a\nb", "one line"),
                 ("--technician", "Jan\tNovák", "control character"),
                 ("--note", "\n".join("12345 6"), "at most 4"),
                 ("--tag", os.fsdecode(b"TT\xff"), "no UTF-8")]
        with Simulator(self.folder.name, "pt100") as sim:
            for option, value, words in cases:
                run = subprocess.run([DNX8, "report", sim.port, "-o", self.page, option, value],
                                     capture_output=True, timeout=60)
                self.assertEqual(run.returncode, 2, option)
                self.assertIn(option + " ", run.stderr.decode())
                self.assertIn(words, run.stderr.decode())
            if os.path.exists(sim.trace):
                with open(sim.trace) as trace:
                    self.assertEqual(trace.read(), "")
        self.assertFalse(os.path.exists(self.page))

    def test_every_failed_read_shows_the_communication_error(self):
        # Each read of read-all in turn refused, for a sensor and for a
        # voltage input without linearization: "Chyba komunikace" stands on
        # the page, also for a value this input does not use (a voltage
        # input's shunt, the coefficients while linearization is off).
        with Simulator(self.folder.name, "pt100") as sim:
            names = json.loads(dnx8("read", sim.port, "--json").stdout)["configuration"].keys()
        names = ["FirmwareVersion", "SerialNumber", "OutputType", "RelayOptions", *names,
                 "LiveInput", "LiveProcess", "LiveValue", "LiveRatio"]
        for preset in ("pt100", "voltage"):
            for name in names:
                with Simulator(self.folder.name, preset, "fault nak on " + name) as sim:
                    run = dnx8("report", sim.port, "-o", self.page)
                self.assertEqual(run.returncode, 1, name + ": " + run.stderr)
                self.assertIn(name, run.stderr)
                text, _ = self.read_page()
                self.assertIn("Chyba komunikace", text, preset + ": " + name)

    def test_a_terminal_gets_a_file_named_by_serial_number_and_date(self):
        import pty
        leader, follower = pty.openpty()
        try:
            with Simulator(self.folder.name, "pt100") as sim:
                run = subprocess.run([os.path.abspath(DNX8), "report", sim.port], stdout=follower, stderr=subprocess.PIPE,
                                     text=True, cwd=self.folder.name, timeout=60)
        finally:
            os.close(follower)
            os.close(leader)
        self.assertEqual(run.returncode, 0, run.stderr)
        written = [f for f in os.listdir(self.folder.name) if f.startswith("record-")]
        self.assertEqual(len(written), 1, os.listdir(self.folder.name))
        self.assertRegex(written[0], r"^record-240117-\d{4}-\d\d-\d\d\.html$")
        self.assertIn("the record is in " + written[0], run.stderr)
        self.page = os.path.join(self.folder.name, written[0])
        self.read_page()

    def test_another_fit_than_the_converters_warns_and_writes_the_page(self):
        points = write_points(self.folder.name, "q.txt", [(0, 1), (1, 6), (2, 17), (3, 34), (4, 57)])
        with Simulator(self.folder.name, "voltage") as sim:
            run = dnx8("report", sim.port, "-o", self.page, "--linearization", points, "--order", "2")
        self.assertEqual(run.returncode, 3, run.stderr)
        self.assertIn("another linearization", run.stderr)
        text, _ = self.read_page()
        self.assertIn("liší", text)
        # A failed read as well: exit 1, and both are told.
        with Simulator(self.folder.name, "voltage", "fault nak on Relay2") as sim:
            run = dnx8("report", sim.port, "-o", self.page, "--linearization", points, "--order", "2")
        self.assertEqual(run.returncode, 1, run.stderr)
        self.assertIn("another linearization", run.stderr)
        self.assertIn("Relay2", run.stderr)

    def test_bad_point_file_reads_nothing(self):
        bad = write_points(self.folder.name, "two.txt", [(1, 1), (2, 2)])
        with Simulator(self.folder.name, "pt100") as sim:
            run = dnx8("report", sim.port, "--linearization", bad, "-o", self.page)
            self.assertEqual(run.returncode, 2)
            if os.path.exists(sim.trace):
                with open(sim.trace) as trace:
                    self.assertEqual(trace.read(), "")
        self.assertFalse(os.path.exists(self.page))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
