#!/usr/bin/env bash
# Makes the Debian package build/tripledger_<version>_<architecture>.deb: installs what is missing (the build's
# packages, and dpkg-dev and file, with which CPack finds the package's dependencies), builds the program alone in
# build/deb/ with Debian's hardening flags, packs it with CPack, and prints the package's path last.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
extra_packages=(dpkg-dev file)
build_folder="$root/build/deb"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
source "$root/scripts/setup.sh" -DBUILD_TESTING=OFF -DTRIPLEDGER_BENCH=OFF \
    -DCMAKE_PROJECT_INCLUDE="$root/packaging/DebianFlags.cmake"

cpack --config "$build/CPackConfig.cmake" -B "$root/build" > "$build/cpack.log" 2>&1 ||
    { cat "$build/cpack.log"; exit 1; }
package="$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$build/cpack.log")"
[ -f "$package" ] || { cat "$build/cpack.log"; exit 1; }
echo "$package"
