#!/usr/bin/env bash
# Installs what is missing, builds the program, and starts Trip Ledger.
set -euo pipefail
build_preset=program
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" default

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Trip Ledger needs a desktop: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    exit 1
fi
exec "$root/build/TripLedger"
