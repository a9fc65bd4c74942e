#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds with CMakePresets.json.
# Sourced by run.sh, test.sh and package.sh with a configure preset's name and any further CMake options (CI's
# -DTRIPLEDGER_WERROR=ON). build_preset names the build preset when it is not the configure preset's namesake;
# package.sh and test.sh also set extra_packages. Leaves root set, the source folder.
set -euo pipefail

# What the build and the program use themselves; the rest comes by dependency (Qt Print Support, for the report,
# with qt6-base-dev). Qt Charts' CMake package needs Qt OpenGL's, which qt6-base-dev only recommends; the program
# draws its images with the SVG icon engine of libqt6svg6, a plugin that nothing links; the window tests draw the
# window in Liberation Sans (the size its layout was drawn at) and in DejaVu Sans (a desktop font wide for its
# height); the benchmark switches accessibility on as a screen reader's bridge would, through Qt's private header.
packages=(cmake make g++ qt6-base-dev qt6-base-private-dev qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins libqt6svg6
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
preset=$1
shift
mkdir -p "$root/build"
log="$root/build/configure-$preset.log"
(cd "$root" && cmake --preset "$preset" "$@") > "$log" 2>&1 || { cat "$log"; exit 1; }
(cd "$root" && cmake --build --preset "${build_preset:-$preset}" --parallel "$(nproc)")
