#!/usr/bin/env bash
# Installs what is missing, builds (the benchmark too), and runs every test without a display.
set -euo pipefail
extra_packages=(poppler-utils) # pdftotext, with which a test reads back the PDF report
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" -DBUILD_TESTING=ON -DTRIPLEDGER_BENCH=ON

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
