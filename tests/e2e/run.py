#!/usr/bin/python3
"""Runs the end-to-end tests (tests/e2e/test_*.py) on one session: a private X display and the
build's own Wine prefix. Called by tools/test-e2e.sh, which builds the program first and runs
this inside a private network and mount namespace.

  run.py --build build-win [--artifacts DIR] [--display 91] [-k PATTERN]... [--update-docs]

--update-docs copies the screenshots the README shows (the window, its panel, the tray tooltip,
the settings dialog and the window at 100 and 150 %) into docs/.
"""

import argparse
import os
import shutil
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import harness  # noqa: E402

DOC_SCREENSHOTS = ("window.png", "window-panel.png", "tray-tooltip.png", "settings-dialog.png",
                   "window-scales.png")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="the Windows build directory")
    parser.add_argument("--artifacts", help="where screenshots go (default BUILD/e2e-artifacts)")
    parser.add_argument("--display", type=int, default=91, help="first X display number to try")
    parser.add_argument("-k", dest="patterns", action="append",
                        help="run only tests whose name matches (unittest -k)")
    parser.add_argument("--update-docs", action="store_true",
                        help="copy the README's screenshots into docs/")
    args = parser.parse_args()
    # The program looks for the router by name; only there does the name mean loopback.
    if not os.environ.get("QUIRN_NAMESPACE", "").endswith("/tools/test-e2e.sh"):
        parser.error("run inside the private namespace of tools/test-e2e.sh")
    artifacts = Path(args.artifacts or Path(args.build) / "e2e-artifacts")

    loader = unittest.TestLoader()
    if args.patterns:
        loader.testNamePatterns = [f"*{p}*" for p in args.patterns]
    suite = loader.discover(str(HERE), pattern="test_*.py", top_level_dir=str(HERE))

    # Screenshots of an earlier run would mislead.
    for old in artifacts.glob("*.png"):
        old.unlink()
    session = harness.Session(args.build, artifacts, display=args.display)
    session.start()
    print(f"e2e: display {session.display}, prefix {session.prefix}, screenshots in {artifacts}",
          flush=True)
    try:
        harness.AppTestCase.session = session
        result = unittest.TextTestRunner(verbosity=2).run(suite)
    finally:
        session.stop()

    if args.update_docs and result.wasSuccessful():
        for name in DOC_SCREENSHOTS:
            shutil.copyfile(artifacts / name, harness.REPO / "docs" / name)
            print(f"e2e: updated docs/{name}")
    # A test whose subtests fail is listed once per failed subtest; it counts once.
    failed = len({getattr(test, "test_case", test).id()
                  for test, _ in result.failures + result.errors}
                 | {test.id() for test in result.unexpectedSuccesses})
    skipped = len(result.skipped)
    print(f"e2e: {result.testsRun - failed - skipped} passed, {failed} failed, {skipped} skipped")
    return 0 if result.wasSuccessful() and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
