#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet.
# Usage: tools/ensure-packages.sh PACKAGE...
set -euo pipefail

missing=()
for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing: ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >&2
    apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
fi
