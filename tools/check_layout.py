#!/usr/bin/env python3
"""check_layout.py: holds the shipped programs' sources to the layout rule.

Only files under platform/ may include the operating system's headers (Win32, Winsock, POSIX
sockets and the other POSIX system headers). Files outside platform/ include nothing from it.
Inside platform/, posix/ and win32/ never include each other, and the Win32 folders build on
each other in one direction only: the root (the core's Win32 halves), then framework/, system/,
window/ and app/; a folder includes only from the folders before it.

The simulator, the tests, the fuzz targets and the benchmarks are development-host tools and
test the platform code itself, so they are not held to the rule.

Usage: check_layout.py [--root DIR]   (default: this repository); exit 1 on a violation.
"""
import argparse
import re
import sys
from pathlib import Path

# The folders of the shipped programs' sources.
CHECKED = ["common", "state", "app", "ui", "cli", "platform"]
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}

WIN32_HEADERS = re.compile(
    r"(windows|windowsx|winsock|winsock2|ws2tcpip|mswsock|iphlpapi|win[a-z]+|shlobj|shellapi|"
    r"shlwapi|shobjidl|knownfolders|commctrl|commdlg|objbase|objidl|ole2|oleauto|psapi|"
    r"tlhelp32|mmsystem|uxtheme|dwmapi|process|io|direct|tchar)\.h", re.IGNORECASE)
POSIX_HEADERS = re.compile(
    r"(sys/[a-z_/]+|netinet/[a-z_]+|arpa/[a-z_]+|net/[a-z_]+|netdb|poll|unistd|fcntl|iconv|"
    r"pthread|dlfcn|termios|dirent|pwd|grp|spawn|syslog)\.h")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')

# Win32 folders in build order; each may include only from those before it.
WIN32_ORDER = ["platform/win32", "platform/win32/framework", "platform/win32/system",
               "platform/win32/window", "platform/win32/app"]


def platform_folder(path):
    """The platform folder a repository-relative path lies in, or None."""
    parts = Path(path).parts
    if parts[:2] == ("platform", "posix"):
        return "platform/posix"
    if parts[:2] == ("platform", "win32"):
        if len(parts) > 3:
            return "platform/win32/" + parts[2]
        return "platform/win32"
    return None


def violations(root):
    for folder in CHECKED:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
                continue
            relative = path.relative_to(root).as_posix()
            home = platform_folder(relative)
            text = path.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                bracket, header = match.groups()
                where = f"{relative}:{number}: {line.strip()}"
                if bracket == "<":
                    system = WIN32_HEADERS.fullmatch(header) or POSIX_HEADERS.fullmatch(header)
                    if system and home is None:
                        yield f"{where}: a platform header outside platform/"
                    continue
                target = platform_folder(header)
                if target is None:
                    continue
                if home is None:
                    yield f"{where}: platform-free code includes platform code"
                elif home.split("/")[1] != target.split("/")[1]:
                    yield f"{where}: posix and win32 include each other"
                elif home.startswith("platform/win32") and target != home:
                    if (target not in WIN32_ORDER or home not in WIN32_ORDER
                            or WIN32_ORDER.index(target) > WIN32_ORDER.index(home)):
                        yield f"{where}: {home} may include only from the folders before it"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=Path, default=Path(__file__).resolve().parent.parent)
    args = parser.parse_args()
    found = list(violations(args.root))
    for line in found:
        print(line)
    if found:
        print(f"check_layout: {len(found)} violation(s) of the layout rule", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
