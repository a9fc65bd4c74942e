#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds into build/.
# Sourced by run.sh and test.sh, each with the CMake options of its own build as arguments: the two share build/,
# so each names every option the other changes. package.sh and test.sh also set extra_packages, and package.sh
# build_folder for a build of its own.
set -euo pipefail

# What the build and the program use themselves; the rest comes by dependency (Qt Print Support, for the report,
# with qt6-base-dev). Qt Charts' CMake package needs Qt OpenGL's, which qt6-base-dev only recommends; the window
# tests draw the window in Liberation Sans (the size its layout was drawn at) and in DejaVu Sans (a desktop font
# wide for its height); the benchmark switches accessibility on as a screen reader's bridge would, through Qt's
# private header.
packages=(cmake make g++ qt6-base-dev qt6-base-private-dev qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins
    fonts-liberation2 fonts-dejavu-core ${extra_packages[@]+"${extra_packages[@]}"})

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${build_folder:-$root/build}"
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --parallel "$(nproc)"
