#!/usr/bin/env bash
# Installs what is missing, builds, and starts Trip Ledger.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" -DBUILD_TESTING=OFF -DTRIPLEDGER_BENCH=OFF

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Trip Ledger needs a desktop: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    exit 1
fi
exec "$build/TripLedger"
