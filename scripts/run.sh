#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Arguments are
# passed to the program (a non-empty first argument marks a start at logon).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exec "${OLVO_BUILD_DIR:-$root/build}/bin/olvo-reminder" "$@"
