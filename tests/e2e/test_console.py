"""quirnctl.exe's watch in a console session under Wine: a line per poll against quirn-sim, and a
Ctrl-C (which Wine delivers to the program for a SIGINT) ends it at once with exit status 130,
also while a poll waits for a router that never answers; the console handler, not the default
one, ends it."""

import os
import signal
import subprocess
import time

from harness import AppTestCase, SilentRouter, wait_until
from test_live import LiveTestCase

# A stop ends the watch within this (Wine adds its own start-up to the program, not to this).
STOP_SECONDS = 2


class WatchUnderWine:
    """What the two cases share: quirnctl.exe's watch, its output read as it comes."""

    def start_watch(self, *args):
        quirnctl = self.session.build_dir / "cli" / "quirnctl.exe"
        self.watch = subprocess.Popen(self.session.wine_command(str(quirnctl), "watch", *args),
                                      env=self.session.env, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(self.end_watch)
        os.set_blocking(self.watch.stdout.fileno(), False)
        self.out = b""

    def read_out(self):
        self.out += self.watch.stdout.read() or b""
        return self.out

    def end_watch(self):
        if self.watch.poll() is None:
            self.watch.kill()
        self.watch.wait()

    def assert_ctrl_c_ends_it(self):
        self.watch.send_signal(signal.SIGINT)
        sent = time.monotonic()
        wait_until(lambda: self.watch.poll() is not None, STOP_SECONDS,
                   "the watch to end after Ctrl-C")
        self.assertEqual(self.watch.returncode, 130)
        return time.monotonic() - sent


class WatchBetweenPolls(WatchUnderWine, LiveTestCase):

    def test_lines_per_poll_and_ctrl_c_in_the_wait(self):
        self.start_watch("--interval", "1", "--format", "{result} {battery_percent}")
        wait_until(lambda: self.read_out().count(b"\n") >= 2, 20, "two polls' lines")
        self.assertEqual(self.out.split(b"\r\n")[:2], [b"0 80", b"0 80"])
        self.assert_ctrl_c_ends_it()


class WatchDuringASilentPoll(WatchUnderWine, AppTestCase):

    def start_router(self):
        return SilentRouter().start()

    def test_ctrl_c_while_the_router_does_not_answer(self):
        self.start_watch()
        wait_until(lambda: self.router.connection_count() >= 1, 20, "the poll to reach the router")
        time.sleep(0.3)
        self.assert_ctrl_c_ends_it()
        self.assertEqual(self.read_out(), b"", "a poll cut short printed something")
