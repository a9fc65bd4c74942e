#!/usr/bin/env bash
# Installs what is missing, builds (the benchmark too), and runs every test without a display. Options given are
# passed to CMake (CI: -DTRIPLEDGER_WERROR=ON).
set -euo pipefail
extra_packages=(poppler-utils) # pdftotext, with which a test reads back the PDF report
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" default "$@"

cd "$root"
ctest --preset default --parallel "$(nproc)"
