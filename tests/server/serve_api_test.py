#!/usr/bin/env python3
"""dnx8 serve run as a program against dnx8sim processes on pseudo-terminals:
the API, its events, a lost line and a silent converter, and the security
rules. Every wait is on a condition (an event, a state), with a generous
bound for a busy machine.

Usage: serve_api_test.py DNX8 DNX8SIM"""

import http.client
import json
import os
import queue
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse

DNX8, DNX8SIM = sys.argv[1], sys.argv[2]
WAIT = 30  # seconds: bound of every wait on a condition

# The servers started here journal their writes in a data folder of their
# own, never in the user's.
DATA_HOME = tempfile.TemporaryDirectory(prefix="dnx8-serve-test-")
os.environ["XDG_DATA_HOME"] = DATA_HOME.name


class Simulator:
    """dnx8sim on a pseudo-terminal with a control socket and a trace."""

    def __init__(self, folder, name="sim", *args):
        self.port = os.path.join(folder, name)
        self.trace = os.path.join(folder, name + ".trace")
        self.control_path = os.path.join(folder, name + ".ctl")
        self.process = subprocess.Popen(
            [DNX8SIM, "--link", self.port, "--trace", self.trace, "--control-socket", self.control_path, *args],
            stdout=subprocess.PIPE, text=True)
        self.process.stdout.readline()
        self.control = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        deadline = time.monotonic() + WAIT
        while True:
            try:
                self.control.connect(self.control_path)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.05)
        self.replies = self.control.makefile("r")

    def command(self, line):
        self.control.sendall((line + "\n").encode())
        lines = []
        while True:
            reply = self.replies.readline().strip()
            if reply == "ok":
                return lines
            if reply.startswith("error"):
                raise AssertionError(line + ": " + reply)
            lines.append(reply)

    def requests(self):
        """The request frames so far, as hex byte texts."""
        with open(self.trace) as f:
            return [l.split(" ", 2)[2].strip() for l in f if " request " in l]

    def close(self):
        self.control.close()
        self.process.terminate()
        self.process.wait(timeout=WAIT)
        self.process.stdout.close()


class Server:
    """dnx8 serve on a free loopback port; the address is its first line."""

    def __init__(self, *args):
        self.process = subprocess.Popen([DNX8, "serve", "--listen", "127.0.0.1:0", *args],
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.url = self.process.stdout.readline().strip()
        assert self.url.startswith("http://"), self.url + self.process.stderr.read()
        parts = urllib.parse.urlsplit(self.url)
        self.host, self.port = parts.hostname, parts.port
        self.token = urllib.parse.parse_qs(parts.query).get("token", [None])[0]

    def request(self, method, path, body=None, headers=None, content_type="application/json"):
        connection = http.client.HTTPConnection(self.host, self.port, timeout=WAIT)
        all_headers = dict(headers or {})
        if body is not None and content_type:
            all_headers.setdefault("Content-Type", content_type)
        if isinstance(body, (dict, list)):
            body = json.dumps(body)
        connection.request(method, path, body=body, headers=all_headers)
        response = connection.getresponse()
        data = response.read()
        connection.close()
        try:
            parsed = json.loads(data) if data else None
        except ValueError:
            parsed = data
        return response.status, response, parsed

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        code = self.process.wait(timeout=WAIT)
        self.process.stdout.close()
        self.process.stderr.close()
        return code


class Events:
    """One event stream read on its own thread into a queue of (event, data)."""

    def __init__(self, server, converter_id, headers=None):
        self.connection = http.client.HTTPConnection(server.host, server.port, timeout=WAIT)
        self.connection.request("GET", "/api/converters/%s/events" % converter_id, headers=headers or {})
        self.response = self.connection.getresponse()
        self.status = self.response.status
        self.events = queue.Queue()
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()

    def read(self):
        name, data = None, None
        try:
            for raw in self.response:
                line = raw.decode().rstrip("\n")
                if line.startswith("event: "):
                    name = line[7:]
                elif line.startswith("data: "):
                    data = json.loads(line[6:])
                elif line == "" and name:
                    self.events.put((name, data))
                    name, data = None, None
        except (OSError, ValueError) as e:
            print("event stream:", repr(e), file=sys.stderr)
        self.events.put(("end", None))

    def wait_for(self, predicate, what):
        deadline = time.monotonic() + WAIT
        while True:
            try:
                event = self.events.get(timeout=max(0.01, deadline - time.monotonic()))
            except queue.Empty:
                raise AssertionError("no event: " + what)
            if predicate(*event):
                return event
            if event[0] == "end":
                raise AssertionError("the stream ended before: " + what)

    def state(self, state):
        return self.wait_for(lambda e, d: e == "state" and d["state"] == state, "state " + state)

    def close(self):
        self.connection.close()


class TcpBridge:
    """A raw TCP stream to a simulator's pseudo-terminal on a free loopback
    port, as a serial device server gives one: one client at a time."""

    def __init__(self, pty):
        self.pty = pty
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.stopping = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        import select
        while not self.stopping:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            line = os.open(os.path.realpath(self.pty), os.O_RDWR | os.O_NOCTTY)
            try:
                while not self.stopping:
                    ready, _, _ = select.select([client, line], [], [], 0.2)
                    if client in ready:
                        data = client.recv(4096)
                        if not data:
                            break
                        os.write(line, data)
                    if line in ready:
                        client.sendall(os.read(line, 4096))
            except OSError:
                pass
            finally:
                os.close(line)
                client.close()

    def close(self):
        self.stopping = True
        self.listener.close()
        self.thread.join(WAIT)


class ServedConverter(unittest.TestCase):
    """One simulated converter served from the start."""

    def setUp(self):
        # Cleanups, not tearDown: they run even when setUp fails, so no
        # process outlives a failed start and holds the test run.
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.sim = Simulator(self.folder.name)
        self.addCleanup(self.sim.close)
        self.server = Server(self.sim.port)
        self.streams = []
        self.addCleanup(self.stop_server)
        # Connected once the first stream says so.
        self.events().state("connected")

    def stop_server(self):
        for stream in self.streams:
            stream.close()
        self.assertEqual(self.server.stop(), 0)

    def events(self):
        stream = Events(self.server, "sim")
        self.assertEqual(stream.status, 200)
        self.streams.append(stream)
        return stream

    def settings(self, body, **kwargs):
        return self.server.request("POST", "/api/converters/sim/settings", body, **kwargs)

    def test_listed_and_read_as_dnx8_read_json(self):
        status, _, converters = self.server.request("GET", "/api/converters")
        self.assertEqual(status, 200)
        # The entry's input and last live values: serve_bench_test.py.
        listed = [{key: c[key] for key in c if key not in ("input", "live")} for c in converters]
        self.assertEqual(listed, [{"id": "sim", "port": self.sim.port, "state": "connected",
                                   "identity": "DNX8", "serialNumber": 240117, "message": None}])
        status, _, reading = self.server.request("GET", "/api/converters/sim/reading")
        self.assertEqual(status, 200)
        self.assertEqual(reading["identity"], "DNX8")
        self.assertEqual(reading["configuration"]["Filter"], 5)
        self.assertEqual(reading["configuration"]["Relay2"],
                         {"onValue": 20.0, "offValue": 30.0, "onDelay": 0, "offDelay": 5, "mode": 1})
        self.assertEqual(reading["failedReads"], [])
        self.assertEqual(set(reading), {"identity", "firmware", "serialNumber", "output", "relays",
                                        "configuration", "input", "errorState", "live", "failedReads"})

    def test_bad_bodies_are_refused_and_nothing_is_sent(self):
        # No stream watches now, so nothing polls the line.
        for stream in self.streams:
            stream.close()
        self.streams = []
        # The worker stops polling once it sees no stream: wait until the trace stands still.
        before = -1
        while before != len(self.sim.requests()):
            before = len(self.sim.requests())
            time.sleep(1.5)
        relay = {"onValue": 80, "offValue": 75, "onDelay": 2, "offDelay": 2, "mode": 0}
        cases = [
            ("{\"Filter\": 5", "no valid JSON"),
            ({"ScaleMin": "0,5"}, "JSON number"),
            ({"Filter": 31}, "outside 0..30"),
            ({"Filter": 5, "Relay1": dict(relay, onDelay=70000)}, "outside 0..65535"),
            ({"Filter": 5, "Colour": 1}, "unknown setting \"Colour\""),
            ({"Relay2": {"onValue": 1}}, "needs all of"),
            ({"Relay2": dict(relay, mode=2)}, "mode is 0"),
            ({"ErrorSignalling": 4}, "ErrorSignalling is 0"),
            ({"ScaleMax": 1e39}, "too large"),
            ({}, "names no setting"),
            ([5], "names no setting"),
        ]
        for body, words in cases:
            status, _, answer = self.settings(body)
            self.assertEqual(status, 400, body)
            self.assertIn(words, answer["error"], body)
            self.assertIn("Nothing was sent", answer["error"], body)
        self.server.request("GET", "/api/converters")
        self.assertEqual(self.sim.requests()[before:], [])
        self.assertEqual(self.sim.command("get Filter"), ["Filter 5"])

    def test_a_write_echoes_and_shows_in_every_stream(self):
        first, second = self.events(), self.events()
        relay = {"onValue": 81.5, "offValue": 70, "onDelay": 3, "offDelay": 4, "mode": 1}
        # The body's order does not matter: Filter goes before Relay1 on the line.
        status, _, answer = self.settings({"Relay1": relay, "Filter": 9, "ScaleMin": 0.1})
        self.assertEqual(status, 200, answer)
        self.assertEqual(answer["echo"], {"Filter": 9, "ScaleMin": 0.1, "Relay1": dict(relay, offValue=70.0)})
        self.assertEqual(answer["differs"], [])
        for stream in (first, second):
            _, data = stream.wait_for(lambda e, d: e == "configuration", "configuration")
            self.assertEqual(data["Filter"], 9)
            self.assertEqual(data["Relay1"]["onDelay"], 3)
        self.assertEqual(self.sim.command("get Filter"), ["Filter 9"])
        self.assertEqual(self.sim.command("get Relay1"), ["Relay1 81.5 70 3 4 1"])
        # Written in the order Filter, ScaleMin, Relay1 (writes carry data: n is not 00).
        writes = [r.split()[1] for r in self.sim.requests() if r.split()[2] != "00"]
        self.assertEqual(writes[-3:], ["3E", "3C", "3A"])

    def test_live_values_once_a_second_with_fault_texts(self):
        stream = self.events()
        _, live = stream.wait_for(lambda e, d: e == "live", "live values")
        self.assertEqual(set(live), {"time", "input", "process", "value", "ratio", "faults"})
        self.sim.command("live LiveProcess fault")
        _, live = stream.wait_for(lambda e, d: e == "live" and d["faults"], "a faulty process value")
        self.assertIsNone(live["process"])
        self.assertEqual(live["faults"], {"process": "Porucha"})

    def test_pulled_line_and_its_return(self):
        stream = self.events()
        self.sim.command("line close")
        _, state = stream.state("disconnected")
        self.assertIn("Chyba komunikace", state["message"])
        status, _, answer = self.server.request("GET", "/api/converters/sim/reading")
        self.assertIn(status, (502, 503), answer)
        self.assertEqual(self.settings({"Filter": 3})[0], 503)
        self.sim.command("line open")
        stream.state("connected")
        status, _, reading = self.server.request("GET", "/api/converters/sim/reading")
        self.assertEqual(status, 200)
        self.assertEqual(reading["configuration"]["Filter"], 5)  # the refused write was never sent

    def test_silent_converter(self):
        stream = self.events()
        self.sim.command("fault silence on")
        status, _, answer = self.settings({"Filter": 4})
        # The write fails on the line (502), unless a live poll found the
        # silence first and the converter is already being reconnected (503).
        self.assertIn(status, (502, 503), answer)
        if status == 502:
            self.assertIn("Chyba komunikace", answer["error"])
            self.assertEqual(answer["echo"], {})
        stream.state("disconnected")
        status, _, converters = self.server.request("GET", "/api/converters")
        self.assertNotEqual(converters[0]["state"], "connected")
        self.sim.command("fault clear")
        stream.state("connected")
        status, _, answer = self.settings({"Filter": 4})
        self.assertEqual((status, answer["echo"]), (200, {"Filter": 4}))

    def test_connect_and_disconnect(self):
        other = Simulator(self.folder.name, "other")
        foreign = Simulator(self.folder.name, "foreign", "--identity", "DNX7")
        try:
            status, _, entry = self.server.request("POST", "/api/converters", {"port": other.port})
            self.assertEqual(status, 201, entry)
            self.assertEqual((entry["id"], entry["state"], entry["identity"]), ("other", "connected", "DNX8"))
            self.assertEqual(self.server.request("POST", "/api/converters", {"port": other.port})[0], 409)
            status, _, answer = self.server.request("POST", "/api/converters", {"port": foreign.port})
            self.assertEqual(status, 422)
            self.assertIn("not as a DNX8", answer["error"])
            for port in ("/dev/null", "/etc/hostname", os.path.join(self.folder.name, "missing")):
                status, _, answer = self.server.request("POST", "/api/converters", {"port": port})
                self.assertEqual(status, 400, port)
            self.assertEqual(self.server.request("POST", "/api/converters", {"name": "x"})[0], 400)
            ids = [c["id"] for c in self.server.request("GET", "/api/converters")[2]]
            self.assertEqual(ids, ["sim", "other"])
            stream = Events(self.server, "other")
            self.streams.append(stream)
            stream.state("connected")
            self.assertEqual(self.server.request("DELETE", "/api/converters/other")[0], 204)
            stream.wait_for(lambda e, d: e == "end", "the stream's end")
            self.assertEqual(self.server.request("DELETE", "/api/converters/other")[0], 404)
            self.assertEqual(self.server.request("GET", "/api/converters/other/reading")[0], 404)
            # The port is free again: another program can open it.
            run = subprocess.run([DNX8, "info", other.port], capture_output=True, timeout=WAIT)
            self.assertEqual(run.returncode, 0, run.stderr)
        finally:
            other.close()
            foreign.close()

    def test_a_converter_behind_a_serial_device_server(self):
        other = Simulator(self.folder.name, "networked")
        bridge = TcpBridge(other.port)
        try:
            address = f"tcp://127.0.0.1:{bridge.port}"
            self.assertEqual(self.server.request("POST", "/api/converters", {"port": "tcp://127.0.0.1:0"})[0], 400)
            status, _, entry = self.server.request("POST", "/api/converters", {"port": address})
            self.assertEqual(status, 201, entry)
            self.assertEqual((entry["port"], entry["state"], entry["identity"]), (address, "connected", "DNX8"))
            status, _, reply = self.server.request("POST", f"/api/converters/{entry['id']}/settings", {"Filter": 9})
            self.assertEqual((status, reply["echo"]["Filter"]), (200, 9), reply)
            self.assertIn("01 3E 01 09 B7", open(other.trace).read())
        finally:
            bridge.close()
            other.close()

    def test_many_streams_and_writes_at_once(self):
        streams = [self.events() for _ in range(32)]
        results = []

        def write(value):
            results.append(self.settings({"Filter": value})[0])

        writers = [threading.Thread(target=write, args=(v,)) for v in range(8)]
        for w in writers:
            w.start()
        for w in writers:
            w.join(WAIT)
        self.assertEqual(results, [200] * 8)
        for stream in streams:
            for _ in range(8):
                stream.wait_for(lambda e, d: e == "configuration", "eight configuration events")


class Security(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.sim = Simulator(self.folder.name)

    def tearDown(self):
        self.sim.close()
        self.folder.cleanup()

    def test_token_off_the_loopback_address(self):
        process = subprocess.Popen([DNX8, "serve", "--listen", "0.0.0.0:0"], stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, text=True)
        try:
            url = process.stdout.readline().strip()
            self.assertRegex(url, r"^http://0\.0\.0\.0:\d+/\?token=[0-9a-f]{32}$")
        finally:
            process.send_signal(signal.SIGINT)
            self.assertEqual(process.wait(timeout=WAIT), 0)
            process.stdout.close()
            process.stderr.close()

    def test_token_cookie_host_origin_and_content_type(self):
        token_file = os.path.join(self.folder.name, "token")
        with open(token_file, "w") as f:
            f.write("  correct-horse-battery-staple \n")
        server = Server(self.sim.port, "--token-file", token_file)
        try:
            self.assertEqual(server.token, "correct-horse-battery-staple")
            self.assertEqual(server.request("GET", "/api/converters")[0], 401)
            self.assertEqual(server.request("GET", "/")[0], 401)
            self.assertEqual(server.request("GET", "/?token=wrong-horse-battery-staple")[0], 401)
            status, response, _ = server.request("GET", "/?token=" + server.token)
            self.assertEqual((status, response.getheader("Location")), (303, "/"))
            cookie = response.getheader("Set-Cookie")
            for part in ("dnx8_token=" + server.token, "HttpOnly", "SameSite=Strict"):
                self.assertIn(part, cookie)
            jar = {"Cookie": cookie.split(";")[0]}
            status, response, page = server.request("GET", "/", headers=jar)
            self.assertEqual(status, 200)
            self.assertIn(b"<html", page)
            policy = response.getheader("Content-Security-Policy")
            self.assertIn("default-src 'self'", policy)
            self.assertNotIn("unsafe-inline", policy)
            self.assertEqual(response.getheader("X-Content-Type-Options"), "nosniff")
            self.assertEqual(server.request("GET", "/api/converters",
                                            headers={"Authorization": "Bearer " + server.token})[0], 200)
            # DNS rebinding: a foreign name, even with the token.
            self.assertEqual(server.request("GET", "/api/converters",
                                            headers=dict(jar, Host="evil.example:%d" % server.port))[0], 403)
            body = {"Filter": 6}
            path = "/api/converters/sim/settings"
            before = len(self.sim.requests())
            self.assertEqual(server.request("POST", path, body,
                                            headers=dict(jar, Origin="http://evil.example"))[0], 403)
            self.assertEqual(server.request("POST", path, body, headers=dict(jar, Origin="null"))[0], 403)
            self.assertEqual(server.request("POST", path, "Filter=6", headers=jar,
                                            content_type="application/x-www-form-urlencoded")[0], 415)
            self.assertEqual(server.request("POST", path, "{\"Filter\": 6}", headers=jar,
                                            content_type="text/plain")[0], 415)
            self.assertEqual(server.request("POST", path, body, headers=dict(jar, **{"Sec-Fetch-Site": "cross-site"}))[0], 403)
            self.assertEqual(server.request("POST", path, body, headers=jar)[0], 200)
            own = {"Origin": "http://127.0.0.1:%d" % server.port}
            self.assertEqual(server.request("POST", path, {"Filter": 7}, headers=dict(jar, **own))[0], 200)
            filters = [r for r in self.sim.requests()[before:] if r.split()[1] == "3E" and r.split()[2] != "00"]
            self.assertEqual(len(filters), 2, self.sim.requests()[before:])
        finally:
            self.assertEqual(server.stop(), 0)

    def test_oversize_and_slow_clients(self):
        server = Server(self.sim.port)
        try:
            status, _, answer = server.request("POST", "/api/converters/sim/settings",
                                               "{\"Filter\": 5, \"x\": \"" + "a" * 100000 + "\"}")
            self.assertEqual(status, 413, answer)
            status, _, _ = server.request("GET", "/", headers={"X-Long": "a" * 20000})
            self.assertEqual(status, 431)
            # Clients that send half a request and wait hold nobody else up.
            slow = []
            for _ in range(20):
                s = socket.create_connection((server.host, server.port))
                s.sendall(b"POST /api/converters/sim/settings HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Len")
                slow.append(s)
            started = time.monotonic()
            stream = Events(server, "sim")
            stream.state("connected")
            self.assertEqual(server.request("GET", "/api/converters")[0], 200)
            self.assertEqual(server.request("POST", "/api/converters/sim/settings", {"Filter": 8})[0], 200)
            self.assertLess(time.monotonic() - started, 10)
            stream.close()
            for s in slow:
                s.close()
        finally:
            self.assertEqual(server.stop(), 0)

    def test_read_only(self):
        server = Server(self.sim.port, "--read-only")
        try:
            self.assertEqual(server.request("GET", "/api/server")[2]["readOnly"], True)
            status, _, answer = server.request("POST", "/api/converters/sim/settings", {"Filter": 6})
            self.assertEqual(status, 403)
            self.assertIn("--read-only", answer["error"])
            self.assertEqual(self.sim.command("get Filter"), ["Filter 5"])
        finally:
            self.assertEqual(server.stop(), 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
