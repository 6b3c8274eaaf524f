#!/usr/bin/env python3
"""quirnctl's bash completion, called as bash calls it: COMP_WORDS and COMP_CWORD set, the
function run, COMPREPLY compared. Every case runs twice, with the bash-completion package's
helpers loaded and with bash alone.

    completion_test.py QUIRNCTL COMPLETION_FILE
"""
import os
import shlex
import subprocess
import sys
import tempfile

BASH_COMPLETION = "/usr/share/bash-completion/bash_completion"

# (the words typed, the last one being completed, and what COMPREPLY must hold). "Q" stands for
# the program as typed on the command line. The folder holds status_page.html, settings.ini
# and sub/; the hosts file names quirn.home.arpa and quirn-lab.example.
CASES = [
    (["Q", "--"], ["--help", "--version"]),
    (["Q", "st"], ["standby", "status"]),
    (["Q", "s"], ["set-password", "standby", "status", "switch"]),
    (["Q", "status", "--"], ["--format", "--help", "--json", "--profile", "--router"]),
    (["Q", "status", "--json", "--"], ["--format", "--help", "--profile", "--router"]),
    (["Q", "status", "--router", "h", "--"], ["--format", "--help", "--json", "--profile"]),
    (["Q", "reboot", "--p"], ["--password-file", "--profile"]),
    (["Q", "set-password", "-"], ["--help", "--json", "--password-file"]),
    (["Q", "check", ""], ["--help", "--json"]),
    (["Q", "switch", ""], ["lte3g", "wlan"]),
    (["Q", "switch", "w"], ["wlan"]),
    (["Q", "switch", "--json", "l"], ["lte3g"]),
    (["Q", "switch", "wlan", ""], ["--help", "--json", "--password-file", "--profile", "--router"]),
    (["Q", "switch", "wlan", "x"], []),
    (["Q", "help", "s"], ["set-password", "standby", "status", "switch"]),
    (["Q", "--help", "st"], ["standby", "status"]),
    (["Q", "help", "status", ""], []),
    (["Q", "status", "--format", ""], ["json", "prometheus", "text"]),
    (["Q", "parse", "page.html", "--format", "p"], ["prometheus"]),
    (["Q", "parse", ""], ["settings.ini", "status_page.html", "sub"]),
    (["Q", "parse", "st"], ["status_page.html"]),
    (["Q", "parse", "status_page.html", ""], ["--format", "--help", "--json"]),
    (["Q", "parse", "--json", "s"], ["settings.ini", "status_page.html", "sub"]),
    (["Q", "status", "--profile", "se"], ["settings.ini"]),
    (["Q", "reboot", "--password-file", ""], ["settings.ini", "status_page.html", "sub"]),
    (["Q", "set-password", "--password-file", "su"], ["sub"]),
    (["Q", "status", "--router", "quirn"], ["quirn-lab.example", "quirn.home.arpa"]),
    (["Q", "frobnicate", ""], []),
    (["Q", "--version", ""], []),
]


def script(program, completion_file, with_helpers):
    lines = ["set +o posix"]
    if with_helpers:
        lines.append(f". {shlex.quote(BASH_COMPLETION)}")
    lines.append(f". {shlex.quote(completion_file)}")
    lines.append("""
run_case() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quirnctl "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\\n' '\\t'
    printf '\\n'
}""")
    for words, _ in CASES:
        typed = [program if w == "Q" else w for w in words]
        lines.append("run_case " + " ".join(shlex.quote(w) for w in typed))
    return "\n".join(lines) + "\n"


def main():
    program, completion_file = (os.path.abspath(a) for a in sys.argv[1:3])
    if not os.path.exists(BASH_COMPLETION):
        print(f"FAIL: no {BASH_COMPLETION} (Debian package bash-completion)")
        return 1
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        for name in ("status_page.html", "settings.ini"):
            open(os.path.join(folder, name), "w").close()
        os.mkdir(os.path.join(folder, "sub"))
        hosts = os.path.join(folder, "sub", "hosts")
        with open(hosts, "w") as f:
            f.write("127.0.0.1 quirn.home.arpa\n127.0.0.2 quirn-lab.example other.example\n")
        # quirnctl is not on PATH: the program as typed is the one asked.
        env = {"PATH": "/usr/bin:/bin", "HOME": folder, "HOSTFILE": hosts, "LC_ALL": "C.UTF-8"}
        for with_helpers in (True, False):
            mode = "with bash-completion" if with_helpers else "bash alone"
            run = subprocess.run(["bash", "--norc", "--noprofile"], cwd=folder, env=env,
                                 input=script(program, completion_file, with_helpers),
                                 capture_output=True, text=True, timeout=120)
            replies = run.stdout.split("\n")
            if run.returncode != 0 or len(replies) < len(CASES):
                print(f"FAIL {mode}: bash exited {run.returncode}\n{run.stderr}")
                failures += 1
                continue
            if run.stderr:
                print(f"FAIL {mode}: the completion wrote to standard error:\n{run.stderr}")
                failures += 1
            for (words, expected), reply in zip(CASES, replies):
                got = [w for w in reply.split("\t") if w]
                if got != expected:
                    print(f"FAIL {mode}: {' '.join(words)!r}: got {got}, expected {expected}")
                    failures += 1
    if failures:
        return 1
    print(f"every completion as expected, with and without bash-completion")
    return 0


if __name__ == "__main__":
    sys.exit(main())
