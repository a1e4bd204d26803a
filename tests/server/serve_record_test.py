#!/usr/bin/env python3
"""The commissioning record served by dnx8 serve against dnx8sim: the page
that dnx8 report makes, its measuring point from the query (checked whole,
escaped), its own security policy, and "Chyba komunikace" where a read
fails.

Usage: serve_record_test.py DNX8 DNX8SIM"""

import base64
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
import xml.etree.ElementTree as ElementTree

from serve_api_test import DNX8, WAIT, Events, Server, Simulator

RECORD = "/api/converters/sim/record"
PINNED = {"LiveInput": 4.5, "LiveProcess": 4.5, "LiveValue": 45.25, "LiveRatio": 0.45}


def pin_live_values(sim):
    # Live values that stand still, so two records can be compared.
    for name, value in PINNED.items():
        sim.command("live %s %r" % (name, value))


def without_time_and_port(page):
    return re.sub(r'<p class="subtitle">.*?</p>', "", page)


class ServedRecord(unittest.TestCase):
    def setUp(self):
        # Cleanups run even when setUp fails, so no process outlives the test.
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.sim = Simulator(self.folder.name, "sim", "--preset", "pt100")
        self.addCleanup(self.sim.close)
        pin_live_values(self.sim)
        self.server = Server(self.sim.port)
        self.addCleanup(lambda: self.assertEqual(self.server.stop(), 0))
        self.stream = Events(self.server, "sim")
        self.addCleanup(self.stream.close)
        self.stream.state("connected")

    def record(self, query=None, method="GET"):
        path = RECORD + ("?" + urllib.parse.urlencode(query) if query else "")
        status, response, body = self.server.request(method, path)
        return status, response, body.decode() if isinstance(body, bytes) else body

    def test_the_page_dnx8_report_makes_with_the_measuring_point(self):
        given = {"tag": "TT-101 <A&B>", "location": "Kotelna \"Jih\" & 'sever'",
                 "technician": "Jiří Čermák", "note": "Kalibrováno.\r\nPříště </td> 2025"}
        status, response, page = self.record(given)
        self.assertEqual(status, 200, page)
        self.assertEqual(response.getheader("Content-Type"), "text/html; charset=utf-8")
        root = ElementTree.fromstring(page)
        rows = {tr.find("th").text: tr.find("td").text for tr in root.find(".//section[@class='point']").iter("tr")}
        self.assertEqual(rows, {"Označení": "TT-101 <A&B>", "Umístění": "Kotelna \"Jih\" & 'sever'",
                                "Technik": "Jiří Čermák", "Poznámka": "Kalibrováno.\nPříště </td> 2025"})
        signers = root.find(".//div[@class='signers']").findall("section")
        self.assertEqual([s.find("h2").text for s in signers], ["Technik", "Zákazník"])
        self.assertIn("z portu " + self.sim.port, page)

        # The same page as dnx8 report's for the same converter (another
        # simulator of the preset: the served one holds its port).
        other = Simulator(self.folder.name, "other", "--preset", "pt100")
        try:
            pin_live_values(other)
            written = os.path.join(self.folder.name, "record.html")
            args = [DNX8, "report", other.port, "-o", written]
            for name, value in given.items():
                args += ["--" + name, value]
            run = subprocess.run(args, capture_output=True, text=True, timeout=WAIT)
            self.assertEqual(run.returncode, 0, run.stderr)
        finally:
            other.close()
        with open(written, encoding="utf-8") as f:
            self.assertEqual(without_time_and_port(page), without_time_and_port(f.read()))

    def test_its_policy_allows_its_own_styles_and_nothing_else(self):
        status, response, page = self.record()
        self.assertEqual(status, 200)
        policy = response.getheader("Content-Security-Policy")
        styles = re.findall(r"<style>(.*?)</style>", page, re.S)
        self.assertEqual(len(styles), 2)  # the page's and the plot's
        hashes = ["'sha256-%s'" % base64.b64encode(hashlib.sha256(s.encode()).digest()).decode() for s in styles]
        self.assertEqual(policy.split("; ")[:2], ["default-src 'none'", "style-src " + " ".join(hashes)])
        self.assertNotIn("unsafe", policy)
        self.assertIn("frame-ancestors 'none'", policy)
        self.assertEqual(len(response.msg.get_all("Content-Security-Policy")), 1)
        self.assertEqual(response.getheader("X-Content-Type-Options"), "nosniff")
        self.assertEqual(response.getheader("X-Frame-Options"), "DENY")
        self.assertEqual(response.getheader("Cache-Control"), "no-store")
        self.assertNotIn("Měřicí místo", page)  # nothing given, nothing shown
        # The page itself keeps the strict policy.
        _, response, _ = self.server.request("GET", "/")
        self.assertIn("style-src 'self'", response.getheader("Content-Security-Policy"))

    def test_bad_queries_are_refused_and_nothing_is_read(self):
        self.stream.close()
        # No stream watches: wait until the polling has stopped.
        before = -1
        while before != len(self.sim.requests()):
            before = len(self.sim.requests())
            time.sleep(1.5)
        cases = [
            ("colour=red", "none of them"),
            ("tag=a&tag=b", "given twice"),
            ("tag=%ZZ", "two hexadecimal digits"),
            ("tag=" + "x" * 41, "at most 40"),
            ("location=a%0Ab", "one line"),
            ("technician=%FF%FE", "no UTF-8"),
            ("note=%07", "control character"),
            ("note=" + "%0A".join("123456"), "at most 4"),
        ]
        for query, words in cases:
            status, _, answer = self.server.request("GET", RECORD + "?" + query)
            self.assertEqual(status, 400, query)
            self.assertIn(words, answer["error"], query)
            self.assertIn("Nothing was read", answer["error"], query)
        self.assertEqual(self.sim.requests()[before:], [])
        self.assertEqual(self.server.request("POST", RECORD, {})[0], 405)
        self.assertEqual(self.server.request("GET", "/api/converters/none/record")[0], 404)

    def test_a_failed_read_shows_the_communication_error_in_its_place(self):
        self.sim.command("fault nak on Relay2")
        status, response, page = self.record({"tag": "TT-7"})
        self.assertEqual(status, 502)
        self.assertEqual(response.getheader("Content-Type"), "text/html; charset=utf-8")
        ElementTree.fromstring(page)
        self.assertEqual(page.count("Chyba komunikace"), 1)
        relay2 = [s for s in ElementTree.fromstring(page).iter("section")
                  if s.find("h2") is not None and s.find("h2").text == "Relé 2"][0]
        self.assertEqual(relay2.find(".//td").text, "Chyba komunikace")
        self.sim.command("fault clear")
        self.assertEqual(self.record({"tag": "TT-7"})[0], 200)

        self.sim.command("line close")
        self.stream.state("disconnected")
        status, response, answer = self.record()
        self.assertEqual(status, 503, answer)
        self.assertIn("not connected", answer["error"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
