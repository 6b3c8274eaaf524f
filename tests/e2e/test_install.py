"""The installer under Wine: a silent install puts the program, its uninstaller, the Start-menu
shortcut and the Add/Remove Programs entry in place; the installed program runs and writes its
profile beside itself; a silent uninstall runs the program's "/cleanup" and leaves nothing
behind."""

import re
import shutil
import subprocess

import harness
from harness import REPO, AppTestCase, HarnessError, wait_until

FOLDER_WIN = "C:\\Program Files\\Vandrel\\Quirn Mobile Tool"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuirnMobileTool"
SETUP_WIN = "C:\\quirn-setup.exe"


def header_version():
    """The version as res/version.h defines it."""
    text = (REPO / "res" / "version.h").read_text(encoding="utf-8")
    parts = [re.search(rf"#define QUIRN_VERSION_{name} (\d+)", text).group(1)
             for name in ("MAJOR", "MINOR", "PATCH")]
    return ".".join(parts)


class InstallRoundTrip(AppTestCase):

    def setUp(self):
        super().setUp()
        session = self.session
        drive_c = session.prefix / "drive_c"
        self.folder = drive_c / "Program Files" / "Vandrel" / "Quirn Mobile Tool"
        self.start_menu = (drive_c / "ProgramData" / "Microsoft" / "Windows" / "Start Menu"
                           / "Programs" / "Quirn Mobile Tool.lnk")
        self.local = session.user_folder("AppData", "Local", "VirtualStore")
        # The installer of the program just built: tools/package.sh makes it from the build.
        out = subprocess.run(["bash", str(REPO / "tools" / "package.sh"), str(session.build_dir)],
                             cwd=REPO, stdin=subprocess.DEVNULL, capture_output=True,
                             timeout=600)
        if out.returncode != 0:
            raise HarnessError("tools/package.sh failed:\n"
                               + out.stdout.decode(errors="replace")
                               + out.stderr.decode(errors="replace"))
        self.version = header_version()
        setup = session.build_dir / f"QuirnMobileToolSetup-{self.version}.exe"
        self.assertTrue((session.build_dir / f"QuirnMobileTool-{self.version}.zip").exists())
        shutil.copyfile(setup, drive_c / "quirn-setup.exe")
        self.addCleanup((drive_c / "quirn-setup.exe").unlink, missing_ok=True)
        # A failed run must not leave an install behind for the next one.
        self.addCleanup(shutil.rmtree, self.folder.parent, ignore_errors=True)
        self.addCleanup(self.start_menu.unlink, missing_ok=True)
        self.assertFalse(self.folder.exists(), f"{self.folder} is there before the install")

    def uninstall_entry(self):
        """The Add/Remove Programs entry as {name: value}, or None when there is none."""
        out = subprocess.run(self.session.wine_command("reg", "query", UNINSTALL_KEY, "/reg:64"),
                             env=self.session.env, stdin=subprocess.DEVNULL,
                             capture_output=True, timeout=60)
        if out.returncode != 0:
            return None
        entry = {}
        for line in out.stdout.decode("cp932", errors="replace").splitlines():
            match = re.match(r"\s+(\S+)\s+REG_\w+\s+(.*)$", line)
            if match:
                entry[match.group(1)] = match.group(2).strip()
        return entry

    def test_silent_install_run_and_silent_uninstall(self):
        session = self.session
        self.assertEqual(session.run_wine(SETUP_WIN, "/S", timeout=120).returncode, 0)
        exe = self.folder / harness.EXE_NAME
        self.assertEqual(exe.read_bytes(),
                         (session.build_dir / "platform" / "win32" / "app" / harness.EXE_NAME).read_bytes())
        self.assertTrue((self.folder / "Uninstall.exe").exists())
        self.assertEqual(self.start_menu.read_bytes()[:4], b"L\0\0\0", "no Start-menu shortcut")
        entry = self.uninstall_entry()
        self.assertIsNotNone(entry, "no Add/Remove Programs entry")
        self.assertEqual(entry.get("DisplayName"), "Quirn Mobile Tool")
        self.assertEqual(entry.get("DisplayVersion"), self.version)
        self.assertEqual(entry.get("Publisher"), "Vandrel")
        self.assertEqual(entry.get("UninstallString"), f'"{FOLDER_WIN}\\Uninstall.exe"')

        # The installed program, started with no profile, writes one beside itself on exit
        # (64-bit programs get no VirtualStore copy).
        profile = self.folder / harness.PROFILE_NAME
        self.assertFalse(profile.exists())
        self.app_process = session.spawn_wine(f"{FOLDER_WIN}\\{harness.EXE_NAME}")
        window = session.wait_for_main_window()
        self.focus(window)
        session.key("alt+s", "x")
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        self.assertTrue(profile.exists(), "the installed program wrote no profile")
        self.assertIn(b"[application_info]", profile.read_bytes())

        # What "/cleanup" is to remove besides: the profile's per-user copies and the autostart
        # shortcut.
        copies = [self.local / folder / "Vandrel" / "Quirn Mobile Tool" / harness.PROFILE_NAME
                  for folder in ("Program Files (x86)", "Program Files")]
        for copy in copies:
            copy.parent.mkdir(parents=True, exist_ok=True)
            copy.write_bytes(b"[application_info]\r\napp_startup=1\r\n")
        session.shortcut_path.parent.mkdir(parents=True, exist_ok=True)
        session.shortcut_path.write_bytes(b"L\0\0\0")
        left = [profile, session.shortcut_path, *copies]

        # The uninstaller copies itself to the temporary folder, starts the copy and returns.
        self.assertEqual(session.run_wine(f"{FOLDER_WIN}\\Uninstall.exe", "/S",
                                          timeout=60).returncode, 0)
        wait_until(lambda: not self.folder.parent.exists() and self.uninstall_entry() is None,
                   60, "the uninstaller to remove the program and its entry", interval=0.5)
        self.assertEqual([f for f in left if f.exists()], [])
        self.assertFalse(self.start_menu.exists(), "the Start-menu shortcut is left")
        self.assertEqual(session.find_windows(harness.APP_TITLE, only_visible=False), [])
