#!/usr/bin/env bash
# Builds the Debian package of quirnctl and quirn-sim from a native build, has lintian check it
# (an error fails), and, as root, installs it, tries what it installed and removes it again,
# checking that nothing of it is left on disk.
#   tools/test-package-deb.sh [BUILD]      BUILD: a native build directory (default build)
# The package is BUILD/package/quirnctl_VERSION-1_ARCH.deb. The install part refuses to run
# where the package, or a file it would install, is already on the machine.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUIRN_ROOT"
build=${1:-build}
started=$SECONDS

quirn_need native debian-package
quirn_build native "$build" quirnctl quirn-sim quirn_deb_files >/dev/null
rm -rf "$build/package"
if ! cpack --config "$build/CPackConfig.cmake" -B "$build/package" >"$build/cpack.log" 2>&1; then
    cat "$build/cpack.log" >&2
    exit 1
fi
debs=("$build"/package/quirnctl_*.deb)
deb=${debs[0]}
if [ ${#debs[@]} != 1 ] || [ ! -f "$deb" ]; then
    echo "test-package-deb.sh: cpack made no single quirnctl package in $build/package" >&2
    exit 1
fi
echo "== package $deb"

echo "== lintian"
# lintian says it would rather not run as root; that line is no finding.
report=$(lintian "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[ -z "$report" ] || printf '%s\n' "$report"
if grep -q '^E:' <<<"$report"; then
    echo "FAIL: lintian reports errors" >&2
    exit 1
fi

if [ "$(id -u)" != 0 ]; then
    echo "== not root: the package is not installed (run as root to try it)"
    exit 0
fi

# Never clobber the machine: neither the package nor any file it brings may be there already.
if dpkg-query -W -f='${Status}\n' quirnctl 2>/dev/null | grep -qv 'not-installed$'; then
    echo "FAIL: a package quirnctl is already on this machine; remove it first" \
        "(dpkg -P quirnctl) to let this test install its own" >&2
    exit 1
fi
mapfile -t packaged < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' |
    grep -v '^/\?$')
present_before=()
for path in "${packaged[@]}"; do
    if [ -d "$path" ]; then
        present_before+=("$path")
    elif [ -e "$path" ] || [ -L "$path" ]; then
        echo "FAIL: $path exists already; the package would overwrite it" >&2
        exit 1
    fi
done

status=0
check() {  # check DESCRIPTION COMMAND...: runs the command, counts a failure
    if "${@:2}"; then
        echo "ok: $1"
    else
        echo "FAIL: $1" >&2
        status=1
    fi
}
remove_package() {
    dpkg -P quirnctl >/dev/null 2>&1 || true
}
trap remove_package EXIT

echo "== dpkg -i"
dpkg -i "$deb" >/dev/null
mapfile -t listed < <(dpkg -L quirnctl)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
check "/usr/bin/quirnctl --version says quirnctl $version" \
    test "$(/usr/bin/quirnctl --version)" = "quirnctl $version"
check "/usr/bin/quirn-sim --help lists its faults" \
    bash -c '/usr/bin/quirn-sim --help | grep -q "^Faults"'
check "the binaries are stripped" \
    bash -c '! file -L /usr/bin/quirnctl /usr/bin/quirn-sim | grep -q "not stripped"'
for page in quirnctl quirn-sim; do
    check "man $page renders without warnings" bash -c "
        warnings=\$(MANWIDTH=80 man --warnings $page 2>&1 >/dev/null)
        [ -z \"\$warnings\" ] || { printf '%s\n' \"\$warnings\"; exit 1; }
        MANWIDTH=80 man $page 2>/dev/null | grep -q '^NAME'"
done
# As an interactive shell gets it: bash-completion loads the file on the first completion.
check "bash-completion loads the completion and it completes from the installed program" \
    bash --norc --noprofile -c '
        . /usr/share/bash-completion/bash_completion
        __load_completion quirnctl || exit 1
        complete -p quirnctl | grep -q -- "-F _quirnctl quirnctl$" || exit 1
        COMP_WORDS=(quirnctl st) COMP_CWORD=1 COMP_LINE="quirnctl st" COMP_POINT=11
        _quirnctl quirnctl st quirnctl
        [ "${COMPREPLY[*]}" = "standby status" ] || [ "${COMPREPLY[*]}" = "status standby" ]'

echo "== dpkg -r, dpkg -P"
known() {  # true while dpkg still has the package, even as mere configuration files
    dpkg-query -W -f='${Status}\n' quirnctl 2>/dev/null | grep -qv 'not-installed$'
}
dpkg -r quirnctl >/dev/null
if known; then
    dpkg -P quirnctl >/dev/null
fi
trap - EXIT
forgotten() { ! known; }
check "dpkg knows no quirnctl any more" forgotten
left=()
for path in "${listed[@]}"; do
    if [ -e "$path" ] || [ -L "$path" ]; then
        if [ -d "$path" ] && [[ " ${present_before[*]} " == *" $path "* ]]; then
            continue  # a folder of the system's, there before the package came
        fi
        left+=("$path")
    fi
done
check "nothing of the package is left on disk${left:+: ${left[*]}}" test ${#left[@]} = 0

echo "== package stage took $((SECONDS - started)) s"
exit "$status"
