#!/usr/bin/env bash
# Makes the Debian package build/tripledger_<version>_<architecture>.deb: installs what is missing (the build's
# packages, and dpkg-dev and file, with which CPack finds the package's dependencies), builds the program alone in
# build/deb/ with Debian's hardening flags (the "package" preset), packs it with CPack, and prints the package's
# path last.
set -euo pipefail
extra_packages=(dpkg-dev file)
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" package

log="$root/build/cpack.log"
(cd "$root" && cpack --preset package) > "$log" 2>&1 || { cat "$log"; exit 1; }
package="$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$log")"
[ -f "$package" ] || { cat "$log"; exit 1; }
echo "$package"
