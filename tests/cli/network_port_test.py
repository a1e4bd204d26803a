#!/usr/bin/env python3
"""dnx8 through Debian's ser2net on 127.0.0.1: a dnx8sim pseudo-terminal
exported as telnet(rfc2217) and as raw tcp. The simulator's trace must show
the same frames as through the local port; the line settings must reach the
serial side; a server that dies mid-command and a bad address must fail as
the exit codes say.

Usage: network_port_test.py DNX8 DNX8SIM    (exit 77: no ser2net here)"""

import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import termios
import threading
import time
import unittest

DNX8, DNX8SIM = sys.argv[1], sys.argv[2]
SER2NET = shutil.which("ser2net") or "/usr/sbin/ser2net"


# Every process the tests start, so none outlives a failed test.
CHILDREN = []


def spawn(*args, **kwargs):
    process = subprocess.Popen(*args, **kwargs)
    CHILDREN.append(process)
    return process


def tearDownModule():
    for process in CHILDREN:
        if process.poll() is None:
            process.kill()
            process.wait()


def dnx8(*args, timeout=60):
    return subprocess.run([DNX8, *args], capture_output=True, text=True, timeout=timeout,
                          stdin=subprocess.DEVNULL)


def wait_until(condition, seconds=20, what="condition"):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.02)
    raise AssertionError("timed out waiting for " + what)


def start_watch(address, sim, frames=3, options=(), stdout=subprocess.DEVNULL):
    """dnx8 watch through ser2net, running once `frames` requests reached
    the simulator. ser2net turns a client away (before anything reaches the
    line) for a moment after the last one left; then it starts again."""
    for _ in range(50):
        start = sim.trace_length()
        watch = spawn([DNX8, "watch", address, "--interval", "0.05", *options], stdout=stdout,
                                 stderr=subprocess.PIPE, text=True, stdin=subprocess.DEVNULL)
        if wait_until(lambda: len(requests(sim.trace, start)[0]) >= frames or watch.poll() is not None,
                      what="watch to run") and watch.poll() is None:
            return watch
        watch.communicate()
        time.sleep(0.1)
    raise AssertionError("ser2net kept turning watch away")


class Lines:
    """The lines a running process writes to a pipe, read as they come."""

    def __init__(self, pipe):
        self.lines = []
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self.read, args=(pipe,), daemon=True)
        self.thread.start()

    def read(self, pipe):
        for line in pipe:
            with self.lock:
                self.lines.append(line.rstrip("\n"))
        pipe.close()

    def since(self, start):
        with self.lock:
            return self.lines[start:]

    def count(self):
        with self.lock:
            return len(self.lines)

    def text(self):
        return "\n".join(self.since(0))


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    """Whether something listens on 127.0.0.1:port, read from /proc without
    connecting (a connection would open the serial side)."""
    wanted = "0100007F:%04X" % port
    with open("/proc/net/tcp") as table:
        return any(fields[1] == wanted and fields[3] == "0A"
                   for fields in (line.split() for line in list(table)[1:]))


def requests(trace, start=0):
    """The request lines of the simulator's trace from line `start` on."""
    with open(trace) as f:
        lines = f.read().splitlines()
    return [l.split(" ", 2)[2] for l in lines[start:] if l.split(" ")[1:2] == ["request"]], len(lines)


def comparable(backup):
    """A backup without what says when and where it was made."""
    return {k: v for k, v in backup.items() if k not in ("created", "port", "readAt", "time", "source")}


class Simulator:
    def __init__(self, folder, name, *controls, options=()):
        self.link = os.path.join(folder, name)
        self.trace = os.path.join(folder, name + ".trace")
        args = [DNX8SIM, "--preset", "pt100", "--link", self.link, "--trace", self.trace, *options]
        for line in controls:
            args += ["-c", line]
        self.process = spawn(args, stdout=subprocess.PIPE, text=True)
        self.pty = self.process.stdout.readline().strip()

    def trace_length(self):
        return requests(self.trace)[1] if os.path.exists(self.trace) else 0

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()


class Ser2net:
    """ser2net in the foreground with its own configuration: a simulator's
    pseudo-terminal at 19200 baud for each kind of connection, so that a line
    set to 9600 shows. (ser2net refuses a connection for a device that
    another connection left a moment ago, so each kind has its own.)"""

    def __init__(self, folder, rfc2217_pty, raw_pty, ports=None):
        # The same ports again: a device server that restarts.
        self.rfc2217, self.raw = ports or (free_port(), free_port())
        config = os.path.join(folder, "ser2net.yaml")
        with open(config, "w") as f:
            for name, accepter, port, pty in (("rfc", "telnet(rfc2217),tcp", self.rfc2217, rfc2217_pty),
                                              ("raw", "tcp", self.raw, raw_pty)):
                f.write("connection: &%s\n  accepter: %s,127.0.0.1,%d\n"
                        "  connector: serialdev,%s,19200n81,local\n  options:\n    kickolduser: true\n"
                        % (name, accepter, port, pty))
        self.log = open(os.path.join(folder, "ser2net.log"), "a")
        self.process = spawn([SER2NET, "-n", "-u", "-c", config, "-P", os.path.join(folder, "pid")],
                                        stdout=self.log, stderr=self.log)
        try:
            wait_until(lambda: (listening(self.rfc2217) and listening(self.raw)) or self.process.poll() is not None,
                       what="ser2net to listen")
        except AssertionError:
            self.kill()
            raise
        if self.process.poll() is not None:
            self.log.close()
            raise AssertionError("ser2net ended at start")

    def holds(self, pty):
        """Whether ser2net has the device open: it keeps it a moment after a
        client leaves, and reads the replies meant for anyone else then."""
        try:
            return any(os.readlink(os.path.join("/proc/%d/fd" % self.process.pid, fd)) == pty
                       for fd in os.listdir("/proc/%d/fd" % self.process.pid))
        except OSError:
            return False

    def address(self, scheme):
        return "%s://127.0.0.1:%d" % (scheme, self.rfc2217 if scheme == "rfc2217" else self.raw)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=10)
        if not self.log.closed:
            self.log.close()


def line_settings(pty):
    """Speed and flags of the pseudo-terminal as the serial side sees them."""
    fd = os.open(pty, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
    try:
        iflag, oflag, cflag, lflag, ispeed, ospeed, cc = termios.tcgetattr(fd)
    finally:
        os.close(fd)
    return {"speed": ispeed, "cs8": cflag & termios.CSIZE == termios.CS8, "parity": bool(cflag & termios.PARENB),
            "two_stop": bool(cflag & termios.CSTOPB), "rtscts": bool(cflag & termios.CRTSCTS)}


class ThroughSer2net(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="dnx8-net-")
        cls.addClassCleanup(shutil.rmtree, cls.folder, ignore_errors=True)
        cls.sims = {}
        for scheme, name in (("rfc2217", "a"), ("tcp", "b")):
            cls.sims[scheme] = Simulator(cls.folder, name)
            cls.addClassCleanup(cls.sims[scheme].stop)
        cls.server = Ser2net(cls.folder, cls.sims["rfc2217"].pty, cls.sims["tcp"].pty)
        cls.addClassCleanup(cls.server.kill)

    def run_traced(self, sim, *args):
        """Runs dnx8 and returns the requests the simulator saw. A run through
        ser2net that failed with nothing on the line was turned away (ser2net
        lets a device go a moment after a client leaves): it runs again."""
        for _ in range(50):
            wait_until(lambda: not self.server.holds(sim.pty), what="ser2net to let the device go")
            start = sim.trace_length()
            run = dnx8(*args)
            frames = requests(sim.trace, start)[0]
            if run.returncode == 0 or frames or "://" not in " ".join(args):
                return run, frames
            time.sleep(0.1)
        return run, frames

    def test_backup_restore_diff_and_watch_send_the_same_frames_as_locally(self):
        for scheme, sim in self.sims.items():
            with self.subTest(scheme=scheme):
                address = self.server.address(scheme)
                local_file = os.path.join(self.folder, scheme + "-local.json")
                local, local_frames = self.run_traced(sim, "backup", sim.link, "-o", local_file)
                self.assertEqual(local.returncode, 0, local.stderr)
                out = os.path.join(self.folder, scheme + ".json")
                run, frames = self.run_traced(sim, "backup", address, "-o", out)
                self.assertEqual(run.returncode, 0, run.stderr)
                self.assertEqual(frames, local_frames)
                with open(local_file) as a, open(out) as b:
                    self.assertEqual(comparable(json.load(a)), comparable(json.load(b)))

                local, local_frames = self.run_traced(sim, "restore", sim.link, local_file)
                self.assertEqual(local.returncode, 0, local.stderr)
                run, frames = self.run_traced(sim, "restore", address, local_file)
                self.assertEqual(run.returncode, 0, run.stderr)
                self.assertEqual(frames, local_frames)

                run, _ = self.run_traced(sim, "diff", address, local_file)
                self.assertEqual(run.returncode, 0, run.stderr)

                run, frames = self.run_traced(sim, "watch", address, "--count", "3", "--interval", "0.05", "--csv")
                self.assertEqual(run.returncode, 0, run.stderr)
                self.assertEqual(len(run.stdout.strip().splitlines()), 4, run.stdout)  # header and 3 rows

    def test_rfc2217_sets_the_line_and_tcp_keeps_the_servers_settings(self):
        for scheme, speed in (("rfc2217", termios.B9600), ("tcp", termios.B19200)):
            with self.subTest(scheme=scheme):
                sim = self.sims[scheme]
                wait_until(lambda: not self.server.holds(sim.pty), what="ser2net to let the device go")
                # Once frames flow, the serial side is open and set.
                watch = start_watch(self.server.address(scheme), sim)
                try:
                    settings = line_settings(sim.pty)
                finally:
                    watch.send_signal(signal.SIGINT)
                    watch.wait(timeout=10)
                    watch.stderr.close()
                self.assertEqual(settings["speed"], speed)
                self.assertTrue(settings["cs8"])
                self.assertFalse(settings["parity"])
                self.assertFalse(settings["two_stop"])
                self.assertFalse(settings["rtscts"])

    def test_bad_addresses_send_nothing(self):
        starts = {scheme: sim.trace_length() for scheme, sim in self.sims.items()}
        for address, code in (("tcp://127.0.0.1:0", 2), ("tcp://127.0.0.1", 2), ("telnet://127.0.0.1:23", 2),
                              ("tcp://[::1:4001", 2), ("rfc2217://no-such-host.invalid:4001", 1),
                              ("tcp://127.0.0.1:%d" % free_port(), 1)):
            with self.subTest(address=address):
                run = dnx8("info", address, timeout=20)
                self.assertEqual(run.returncode, code, run.stderr)
                self.assertIn(address if code == 2 else "cannot open", run.stderr)
        run = dnx8("backup", "tcp://127.0.0.1:0", "-o", os.path.join(self.folder, "never.json"))
        self.assertEqual(run.returncode, 2)
        self.assertFalse(os.path.exists(os.path.join(self.folder, "never.json")))
        for scheme, sim in self.sims.items():
            self.assertEqual(requests(sim.trace, starts[scheme])[0], [])

    def test_rfc2217_on_a_raw_port_is_refused_with_a_hint(self):
        for _ in range(50):
            wait_until(lambda: not self.server.holds(self.sims["tcp"].pty), what="ser2net to let the device go")
            run = dnx8("info", "rfc2217://127.0.0.1:%d" % self.server.raw, timeout=20)
            if "already in use" not in run.stderr:
                break
            time.sleep(0.1)
        self.assertEqual(run.returncode, 1)
        self.assertIn("tcp://", run.stderr)


class SlowConverter(unittest.TestCase):
    def test_timeout_lengthens_the_wait_for_each_reply(self):
        folder = tempfile.mkdtemp(prefix="dnx8-net-")
        sim = Simulator(folder, "port", "fault delay on 400")
        try:
            server = Ser2net(folder, sim.pty, sim.pty)
            self.addCleanup(server.kill)
            address = server.address("tcp")
            run = dnx8("info", address, "--timeout", "1500")
            self.assertEqual(run.returncode, 0, run.stderr)
            self.assertIn("DNX8", run.stdout)
            # Last, as the late reply it leaves behind would answer the next request.
            self.assertEqual(dnx8("info", address, "--timeout", "50").returncode, 2)
            self.assertEqual(dnx8("info", address).returncode, 1)
        finally:
            sim.stop()
            shutil.rmtree(folder, ignore_errors=True)


class ServerDies(unittest.TestCase):
    def test_watch_rides_out_a_server_that_restarts(self):
        """A watch through a device server that goes and comes back on the
        same port keeps its log going, as over a re-plugged adapter: the drop
        and the return on standard error, the polls in between told as failed
        reads, then the simulator answers again. A stop while it waits to
        reopen still ends it at once."""
        folder = tempfile.mkdtemp(prefix="dnx8-net-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        sim = Simulator(folder, "port")
        self.addCleanup(sim.stop)
        # CSV: an empty field is a failed read. JSON: null without a fault text.
        def csv_read_all(line):
            return "" not in line.split(",")[1:]

        def json_read_all(line):
            values = json.loads(line)
            return all(values[k] is not None or k in values["faults"] for k in ("input", "process", "value", "ratio"))

        for scheme, output, read_all, stop, code in (("rfc2217", "--csv", csv_read_all, signal.SIGINT, 130),
                                                     ("tcp", "--json", json_read_all, signal.SIGTERM, 143)):
            with self.subTest(scheme=scheme):
                server = Ser2net(folder, sim.pty, sim.pty)
                self.addCleanup(server.kill)
                watch = start_watch(server.address(scheme), sim, frames=4, options=(output,),
                                    stdout=subprocess.PIPE)
                self.addCleanup(lambda w=watch: w.poll() is None and (w.kill(), w.wait()))
                out, err = Lines(watch.stdout), Lines(watch.stderr)

                def polls(start=0):
                    return [line for line in out.since(start) if line and not line.startswith("time")]

                def failed_since_last_read():
                    done = polls()
                    return next((i for i, line in enumerate(reversed(done)) if read_all(line)), len(done))

                def told(text, times=1):
                    return sum(text in line for line in err.since(0)) >= times or watch.poll() is not None

                server.kill()
                wait_until(lambda: told("dropped"), what="the drop to be told")
                self.assertIsNone(watch.poll(), err.text())
                # Polls go on while the server is away, each a failed read.
                wait_until(lambda: failed_since_last_read() >= 3 or watch.poll() is not None,
                           what="polls while away")
                self.assertIsNone(watch.poll(), err.text())

                server = Ser2net(folder, sim.pty, sim.pty, ports=(server.rfc2217, server.raw))
                self.addCleanup(server.kill)
                # Bounded by the back-off step reached while the server was away.
                wait_until(lambda: told("is back."), seconds=60, what="the line to be back")
                self.assertIsNone(watch.poll(), err.text())
                requests_back = sim.trace_length()
                lines = out.count()
                wait_until(lambda: (len(requests(sim.trace, requests_back)[0]) >= 8
                                    and any(read_all(line) for line in polls(lines)))
                           or watch.poll() is not None, what="polls to reach the simulator again")
                self.assertIsNone(watch.poll(), err.text())

                # Gone again: the stop comes while dnx8 waits to reopen.
                server.kill()
                wait_until(lambda: told("dropped", 2), what="the second drop to be told")
                watch.send_signal(stop)
                stopped = time.monotonic()
                self.assertEqual(watch.wait(timeout=10), code, err.text())
                self.assertLess(time.monotonic() - stopped, 3.0)

    def test_a_restore_cut_off_midway_is_no_success(self):
        folder = tempfile.mkdtemp(prefix="dnx8-net-")
        # Paced like a real line, so the restore is still under way when
        # the server goes.
        sim = Simulator(folder, "port", options=("--baud", "9600"))
        try:
            backup = os.path.join(folder, "backup.json")
            self.assertEqual(dnx8("backup", sim.link, "-o", backup).returncode, 0)
            for scheme in ("rfc2217", "tcp"):
                with self.subTest(scheme=scheme):
                    server = Ser2net(folder, sim.pty, sim.pty)
                    self.addCleanup(server.kill)
                    for _ in range(50):
                        start = sim.trace_length()
                        restore = spawn([DNX8, "restore", server.address(scheme), backup],
                                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                                   stdin=subprocess.DEVNULL)
                        wait_until(lambda: len(requests(sim.trace, start)[0]) > 8 or restore.poll() is not None,
                                   what="restore to write")
                        if restore.poll() is None:
                            break
                        restore.communicate()  # turned away at once: again
                    server.kill()
                    killed = time.monotonic()
                    try:
                        out, err = restore.communicate(timeout=10)
                    finally:
                        if restore.poll() is None:
                            restore.kill()
                            restore.communicate()
                    self.assertEqual(restore.returncode, 1, out + err)
                    self.assertLess(time.monotonic() - killed, 3.0)
                    self.assertTrue(err.strip(), "a failed restore says why")
        finally:
            sim.stop()
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    if not os.path.exists(SER2NET):
        print("ser2net is not installed (scripts/setup.sh installs it); skipped")
        sys.exit(77)
    unittest.main(argv=[sys.argv[0], "-v"])
