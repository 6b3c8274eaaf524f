"""The installer under Wine, for the user who runs it: a silent install puts the program, its
uninstaller, the Start-menu shortcut and the Add/Remove Programs entry in the user's own folders
and HKCU, nothing for all users; the installed program runs against quirn-sim and keeps a setting
changed through its menu across a restart; installing again over it keeps the profile; a silent
uninstall runs the program's "/cleanup" and leaves nothing of ours behind."""

import re
import shutil
import subprocess

import harness
from harness import REPO, HarnessError, wait_until
from test_live import LiveTestCase

UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
ENTRY = UNINSTALL + r"\QuirnMobileTool"
SETUP_WIN = "C:\\quirn-setup.exe"


def header_version():
    """The version as res/version.h defines it."""
    text = (REPO / "res" / "version.h").read_text(encoding="utf-8")
    parts = [re.search(rf"#define QUIRN_VERSION_{name} (\d+)", text).group(1)
             for name in ("MAJOR", "MINOR", "PATCH")]
    return ".".join(parts)


class InstallRoundTrip(LiveTestCase):

    def setUp(self):
        super().setUp()
        session = self.session
        self.drive_c = session.prefix / "drive_c"
        self.vandrel = session.user_folder("AppData", "Local", "Programs", "Vandrel")
        self.folder = self.vandrel / "Quirn Mobile Tool"
        user = session.user_folder().name
        self.folder_win = f"C:\\users\\{user}\\AppData\\Local\\Programs\\Vandrel\\Quirn Mobile Tool"
        self.start_menu = session.user_folder("AppData", "Roaming", "Microsoft", "Windows",
                                              "Start Menu", "Programs", "Quirn Mobile Tool.lnk")
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
        shutil.copyfile(setup, self.drive_c / "quirn-setup.exe")
        self.addCleanup((self.drive_c / "quirn-setup.exe").unlink, missing_ok=True)
        # A failed run must not leave an install behind for the next one.
        self.addCleanup(shutil.rmtree, self.vandrel, ignore_errors=True)
        self.addCleanup(self.start_menu.unlink, missing_ok=True)
        self.addCleanup(self.reg, "delete", "HKCU\\" + ENTRY, "/f")
        self.assertFalse(self.folder.exists(), f"{self.folder} is there before the install")
        # What other tests and runs left in the prefix (their VirtualStore folders, say).
        self.before = self.ours_in_drive_c()

    def reg(self, *args):
        """Runs Wine's reg in the 64-bit view; returns (exit status, output)."""
        out = subprocess.run(self.session.wine_command("reg", *args, "/reg:64"),
                             env=self.session.env, stdin=subprocess.DEVNULL,
                             capture_output=True, timeout=60)
        return out.returncode, out.stdout.decode("cp932", errors="replace")

    def uninstall_entry(self):
        """The user's Add/Remove Programs entry as {name: value}, or None when there is none."""
        status, out = self.reg("query", "HKCU\\" + ENTRY)
        if status != 0:
            return None
        entry = {}
        for line in out.splitlines():
            match = re.match(r"\s+(\S+)\s+REG_\w+\s+(.*)$", line)
            if match:
                entry[match.group(1)] = match.group(2).strip()
        return entry

    def assert_nothing_for_all_users(self):
        """No Add/Remove Programs entry for all users and no folder under Program Files."""
        status, out = self.reg("query", "HKLM\\" + UNINSTALL, "/s")
        self.assertEqual(status, 0, "HKLM's Uninstall key cannot be read")
        self.assertNotIn("quirn", out.lower(), "an entry under HKLM")
        for programs in ("Program Files", "Program Files (x86)"):
            self.assertFalse((self.drive_c / programs / "Vandrel").exists(), programs)

    def ours_in_drive_c(self):
        """Every path in the prefix's drive C: that names the program or its maker, besides the
        harness's own copy and the installer."""
        mine = {self.drive_c / "quirn", self.drive_c / "quirn-setup.exe"}
        return sorted(str(path.relative_to(self.drive_c)) for path in self.drive_c.rglob("*")
                      if re.search("quirn|vandrel", path.name, re.I)
                      and not any(path == m or m in path.parents for m in mine))

    def install(self, *args):
        self.assertEqual(self.session.run_wine(SETUP_WIN, "/S", *args, timeout=120).returncode, 0)

    def uninstall(self, folder_win, folder):
        """Runs the uninstaller silently and waits until it has removed the folder and the
        entry. It copies itself to the temporary folder, starts the copy and returns."""
        self.assertEqual(self.session.run_wine(f"{folder_win}\\Uninstall.exe", "/S",
                                               timeout=60).returncode, 0)
        wait_until(lambda: not folder.exists() and self.uninstall_entry() is None,
                   60, "the uninstaller to remove the program and its entry", interval=0.5)

    def start_installed(self):
        self.app_process = self.session.spawn_wine(f"{self.folder_win}\\{harness.EXE_NAME}")
        window = self.session.wait_for_main_window()
        wait_until(lambda: self.router.count(b"GET /mobile/mobile.cgi/info_remote_main "), 20,
                   "the first status poll")
        self.wait_for_status(window)
        self.focus(window)
        return window

    def test_install_run_upgrade_and_uninstall_for_the_user(self):
        session = self.session
        self.install()
        exe = self.folder / harness.EXE_NAME
        self.assertEqual(exe.read_bytes(),
                         (session.build_dir / "platform" / "win32" / "app" / harness.EXE_NAME).read_bytes())
        self.assertTrue((self.folder / "Uninstall.exe").exists())
        self.assertTrue((self.folder / "readme.txt").exists())
        self.assertEqual(self.start_menu.read_bytes()[:4], b"L\0\0\0", "no Start-menu shortcut")
        entry = self.uninstall_entry()
        self.assertIsNotNone(entry, "no Add/Remove Programs entry under HKCU")
        uninstaller = f'"{self.folder_win}\\Uninstall.exe"'
        self.assertEqual({key: entry.get(key) for key in (
            "DisplayName", "DisplayVersion", "Publisher", "DisplayIcon", "InstallLocation",
            "UninstallString", "QuietUninstallString")}, {
            "DisplayName": "Quirn Mobile Tool", "DisplayVersion": self.version,
            "Publisher": "Vandrel", "DisplayIcon": f"{self.folder_win}\\{harness.EXE_NAME},0",
            "InstallLocation": self.folder_win, "UninstallString": uninstaller,
            "QuietUninstallString": uninstaller + " /S"})
        self.assertGreater(int(entry.get("EstimatedSize", "0"), 0), 0, "no size")
        self.assert_nothing_for_all_users()

        # The installed program, started with no profile, shows the router's status; keeping
        # to the tray, switched on from its menu, is in the profile it writes beside itself.
        profile = self.folder / harness.PROFILE_NAME
        self.assertFalse(profile.exists())
        self.start_installed()
        session.key("alt+s", "t")
        # It asks first, under its own title, whether the battery may be spent so.
        wait_until(lambda: len(session.find_windows(harness.APP_TITLE)) == 2, 10,
                   "the question whether to keep to the tray")
        session.key("y")
        wait_until(lambda: len(session.find_windows(harness.APP_TITLE)) == 1, 10,
                   "the question to close")
        session.key("alt+s", "x")
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        self.assertTrue(profile.exists(), "the installed program wrote no profile")
        self.assertIn(b"app_keep_task=1", profile.read_bytes())

        # Started again, it keeps to the tray: closing the window only hides it.
        window = self.start_installed()
        session.key("alt+F4")
        wait_until(lambda: not window.is_viewable(), 5, "the window to hide")
        self.assertIsNone(self.app_process.poll(), "closing the window ended the program")
        session.end_app()

        # Installed again over it: an upgrade, the profile as it was.
        kept = profile.read_bytes()
        self.install()
        self.assertEqual(profile.read_bytes(), kept, "the upgrade changed the profile")
        self.assertEqual(self.uninstall_entry().get("InstallLocation"), self.folder_win)

        # What "/cleanup" is to remove besides: the autostart shortcut.
        session.shortcut_path.parent.mkdir(parents=True, exist_ok=True)
        session.shortcut_path.write_bytes(b"L\0\0\0")

        self.uninstall(self.folder_win, self.vandrel)
        self.assertFalse(session.shortcut_path.exists(), "/cleanup did not run")
        self.assertFalse(self.start_menu.exists(), "the Start-menu shortcut is left")
        self.assert_nothing_for_all_users()
        self.assertEqual(self.ours_in_drive_c(), self.before)
        self.assertEqual(session.find_windows(harness.APP_TITLE, only_visible=False), [])

    def test_another_folder_by_d(self):
        other_win = "C:\\QuirnElsewhere"
        other = self.drive_c / "QuirnElsewhere"
        self.addCleanup(shutil.rmtree, other, ignore_errors=True)
        self.install(f"/D={other_win}")
        self.assertTrue((other / harness.EXE_NAME).exists())
        self.assertFalse(self.folder.exists(), "installed into the default folder too")
        entry = self.uninstall_entry()
        self.assertEqual((entry.get("InstallLocation"), entry.get("QuietUninstallString")),
                         (other_win, f'"{other_win}\\Uninstall.exe" /S'))
        self.assert_nothing_for_all_users()

        self.uninstall(other_win, other)
        self.assertFalse(self.start_menu.exists(), "the Start-menu shortcut is left")
        self.assertEqual(self.ours_in_drive_c(), self.before)
