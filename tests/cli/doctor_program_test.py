#!/usr/bin/env python3
"""dnx8 doctor and dnx8 ports --identify as programs, in the cases this
machine can make: a missing device, a dangling stable name, a file that is
not a terminal, a port another process holds, a permission the user lacks
(run as nobody, without the group), a network port that refuses, and a
port where a simulated DNX8 answers.

Usage: doctor_program_test.py DNX8 DNX8SIM"""

import fcntl
import grp
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest

DNX8, DNX8SIM = sys.argv[1], sys.argv[2]


def dnx8(*args, user=None):
    command = [DNX8, *args]
    if user:
        command = ["setpriv", "--reuid=" + user, "--regid=nogroup", "--clear-groups", *command]
    return subprocess.run(command, capture_output=True, text=True, timeout=60, stdin=subprocess.DEVNULL)


class Simulator:
    def __init__(self, folder, name):
        self.link = os.path.join(folder, name)
        self.process = subprocess.Popen([DNX8SIM, "--preset", "pt100", "--link", self.link],
                                        stdout=subprocess.PIPE, text=True)
        self.pty = self.process.stdout.readline().strip()

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()


class Doctor(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="dnx8-doctor-")
        cls.sim = Simulator(cls.folder, "port")

    @classmethod
    def tearDownClass(cls):
        cls.sim.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_a_converter_that_answers_is_exit_0(self):
        run = dnx8("doctor", self.sim.link)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        self.assertIn("ok: a DNX8 answers (serial number", run.stdout)

    def test_missing_devices_and_dangling_names(self):
        run = dnx8("doctor", os.path.join(self.folder, "ttyUSB9"))
        self.assertEqual(run.returncode, 1)
        self.assertIn("problem: no such device", run.stdout)
        self.assertIn("fix: plug the adapter in", run.stdout)
        dangling = os.path.join(self.folder, "usb-FTDI_X-if00-port0")
        os.symlink("/dev/ttyUSB97", dangling)
        run = dnx8("doctor", dangling)
        self.assertEqual(run.returncode, 1)
        self.assertIn("points to /dev/ttyUSB97, which is not there", run.stdout)

    def test_a_file_that_is_not_a_terminal(self):
        for path in (os.path.join(self.folder, "notes.txt"), "/dev/null"):
            if path.endswith(".txt"):
                open(path, "w").close()
            with self.subTest(path=path):
                run = dnx8("doctor", path)
                self.assertEqual(run.returncode, 1)
                self.assertIn("is not a terminal", run.stdout)

    def test_a_port_another_process_holds_names_it(self):
        fd = os.open(self.sim.pty, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        try:
            fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
            run = dnx8("doctor", self.sim.link)
        finally:
            os.close(fd)
        self.assertEqual(run.returncode, 1)
        self.assertIn("held by another program: %d (" % os.getpid(), run.stdout)
        self.assertEqual(dnx8("doctor", self.sim.link).returncode, 0)  # free again

    def test_a_permission_the_user_lacks_names_the_group_and_the_fix(self):
        if os.getuid() != 0 or not shutil.which("setpriv"):
            self.skipTest("needs root to run as another user")
        # The pseudo-terminal as a USB adapter is set up: group dialout, 0660.
        os.chown(self.sim.pty, 0, grp.getgrnam("dialout").gr_gid)
        os.chmod(self.sim.pty, 0o660)
        # nobody must reach the program itself.
        program = os.path.join(tempfile.mkdtemp(prefix="dnx8-doctor-bin-"), "dnx8")
        shutil.copy(DNX8, program)
        os.chmod(os.path.dirname(program), 0o755)
        run = subprocess.run(["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", program, "doctor",
                              self.sim.pty], capture_output=True, text=True, timeout=60)
        shutil.rmtree(os.path.dirname(program))
        self.assertEqual(run.returncode, 1, run.stdout + run.stderr)
        self.assertIn("permission denied", run.stdout)
        self.assertIn("group dialout", run.stdout)
        self.assertIn("nobody is not in it", run.stdout)
        self.assertIn("fix: sudo usermod -aG dialout nobody", run.stdout)

    def test_network_ports_that_refuse_or_are_malformed(self):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        run = dnx8("doctor", "tcp://127.0.0.1:%d" % port)
        self.assertEqual(run.returncode, 1)
        self.assertIn("refuses the connection", run.stdout)
        self.assertIn("fix: check the port number", run.stdout)
        run = dnx8("doctor", "tcp://127.0.0.1:0")
        self.assertEqual(run.returncode, 2)
        self.assertEqual(run.stdout, "")


class PortsIdentify(unittest.TestCase):
    def test_each_free_port_says_what_answers_and_a_held_one_is_skipped(self):
        folder = tempfile.mkdtemp(prefix="dnx8-ports-")
        free, held = Simulator(folder, "a"), Simulator(folder, "b")
        fd = os.open(held.pty, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        try:
            fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
            missing = os.path.join(folder, "c")
            text = dnx8("ports", "--identify", free.link, held.link, missing)
            data = dnx8("ports", "--identify", "--json", free.link, held.link)
        finally:
            os.close(fd)
            free.stop()
            held.stop()
            shutil.rmtree(folder, ignore_errors=True)
        self.assertEqual(text.returncode, 0, text.stderr)
        lines = text.stdout.splitlines()
        self.assertTrue(lines[0].startswith(free.link + "  DNX8, serial number "), lines)
        self.assertEqual(lines[1], held.link + "  busy (another program holds it), skipped")
        self.assertTrue(lines[2].startswith(missing + "  cannot open"), lines)
        ports = json.loads(data.stdout)
        self.assertEqual([p["port"] for p in ports], [free.link, held.link])
        self.assertEqual(ports[0]["identity"], "DNX8")
        self.assertIsInstance(ports[0]["serialNumber"], int)
        self.assertIsNone(ports[1]["identity"])
        self.assertEqual(ports[0]["byId"], [])


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
