#!/usr/bin/env python3
"""The layout checker: each trial tree breaks the rule once (or not at all), and the checker says so."""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CHECKER = Path(__file__).resolve().parents[2] / "tools" / "check_layout.py"

# (file, its include line, the complaint expected or None)
CASES = [
    ("common/net/trial.cpp", "#include <sys/socket.h>", "a platform header outside platform/"),
    ("ui/logic/trial.h", "#include <windows.h>", "a platform header outside platform/"),
    ("state/trial.cpp", "#include <WinSock2.h>", "a platform header outside platform/"),
    ("cli/trial.cpp", "#include <unistd.h>", "a platform header outside platform/"),
    ("ui/logic/trial.cpp", '#include "platform/win32/window/main_dialog.h"',
     "platform-free code includes platform code"),
    ("platform/posix/trial.cpp", '#include "platform/win32/socket_win32.h"',
     "posix and win32 include each other"),
    ("platform/win32/framework/trial.cpp", '#include "platform/win32/window/main_dialog.h"',
     "platform/win32/framework may include only from the folders before it"),
    ("platform/win32/window/trial.cpp", '#include "platform/win32/app/application.h"',
     "platform/win32/window may include only from the folders before it"),
    # Allowed: platform headers inside platform/, downward includes, standard headers anywhere.
    ("platform/posix/trial.cpp", "#include <sys/socket.h>", None),
    ("platform/win32/app/trial.cpp", '#include "platform/win32/window/main_dialog.h"', None),
    ("platform/win32/window/trial.cpp", "#include <windows.h>", None),
    ("common/net/trial.cpp", "#include <cstdio>", None),
    ("common/net/trial.cpp", '#include "common/net/socket_transport.h"', None),
]


class CheckLayout(unittest.TestCase):
    def test_each_trial(self):
        for path, line, complaint in CASES:
            with self.subTest(path=path, line=line), tempfile.TemporaryDirectory() as root:
                trial = Path(root) / path
                trial.parent.mkdir(parents=True)
                trial.write_text(f"// trial\n{line}\n")
                run = subprocess.run([sys.executable, str(CHECKER), "--root", root],
                                     capture_output=True, text=True)
                if complaint is None:
                    self.assertEqual(run.returncode, 0, run.stdout)
                    self.assertEqual(run.stdout, "")
                else:
                    self.assertEqual(run.returncode, 1, run.stdout)
                    self.assertEqual(run.stdout, f"{path}:2: {line}: {complaint}\n")

    def test_this_repository_keeps_the_rule(self):
        run = subprocess.run([sys.executable, str(CHECKER)], capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stdout)


if __name__ == "__main__":
    unittest.main()
