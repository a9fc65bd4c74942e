#!/usr/bin/env bash
# Tries the README's Quick start as a new user would, on a fresh Debian 12 where nothing was installed before:
# makes a minimal bookworm root (mmdebstrap, variant apt, plus git and ca-certificates) from this machine's own
# package sources, puts a clean clone of the committed tree in it, and there, as root, runs ./scripts/test.sh,
# then ./scripts/run.sh without a display, which must print its one line and fail. Then it makes the Debian package
# there with ./scripts/package.sh and checks it (lintian without errors, desktop-file-validate, appstreamcli), and
# installs it with apt into a second fresh root (variant apt, no development packages), where an ordinary user
# starts the program offscreen: it must stay up for 5 s, its help document must lie where the program looks, and
# nothing may have been written before a save. Prints each step and how long it took; a failure ends with a line
# naming its step. Removes the roots and unmounts what it mounted, whatever happens. Needs root. Run by .ci/run.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
expected="Trip Ledger needs a desktop: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)."

# The script's own output, for finish: a signal may end the script while a step's output goes to its log.
exec 3>&1 4>&2

work="$(mktemp -d /tmp/tripledger-fresh.XXXXXX)"
root="$work/root"
second="$work/second" # where the package is installed
step="start"

finish() {
    local status=$?
    [ -z "${program:-}" ] || kill "$program" 2>/dev/null || true
    for mounted in "$root/proc" "$second/proc"; do
        if mountpoint -q "$mounted" 2>/dev/null; then
            umount "$mounted" || umount -l "$mounted"
        fi
    done
    # --one-file-system: should /proc still be mounted, it is never walked into.
    local start
    start=$(now)
    rm -rf --one-file-system "$work"
    echo "== remove the roots: done in $(seconds_since "$start")" >&3
    if [ "$status" -ne 0 ]; then
        echo "FAILED: fresh-machine check, step \"$step\" (exit status $status)" >&4
    fi
    exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Seconds since a moment in microseconds, with one decimal.
now() { echo "${EPOCHREALTIME/./}"; }
seconds_since() {
    local tenths=$((($(now) - $1) / 100000))
    echo "$((tenths / 10)).$((tenths % 10)) s"
}

# Runs one named step, printing its name and duration; its output goes to $work/<n>.log, shown when it fails.
# A step runs where set -e does not apply, so each chains its commands with &&.
steps=0
run_step() {
    step="$1"
    shift
    steps=$((steps + 1))
    local log="$work/$steps.log" start
    start=$(now)
    echo "== $step"
    "$@" > "$log" 2>&1 || {
        local status=$?
        echo "-- last lines of its output:"
        tail -n 40 "$log"
        return "$status"
    }
    echo "== $step: done in $(seconds_since "$start")"
}

# Inside the root as a fresh login would have it: root's home, the usual PATH, no display, no locale set.
in_root() {
    env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb \
        chroot "$root" /bin/bash -c "cd /root/TripLedger && $1" 3>&- 4>&-
}

install_mmdebstrap() {
    apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap
}

# This machine's package sources, each file as it stands (one-line or deb822 style).
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && grep -qvE '^[[:space:]]*(#|$)' "$file" && sources+=("$file")
done
[ ${#sources[@]} -gt 0 ] || { echo "No apt sources found in /etc/apt." >&2; exit 1; }

make_root() {
    mmdebstrap --variant=apt --include=git,ca-certificates bookworm "$root" "${sources[@]}"
}

# passwd only to add the ordinary user.
make_second_root() {
    mmdebstrap --variant=apt --include=passwd bookworm "$second" "${sources[@]}" &&
        mount -t proc proc "$second/proc" &&
        cp -L /etc/resolv.conf "$second/etc/resolv.conf"
}

commit="$(git -C "$repo" rev-parse HEAD)"
clone_tree() {
    git clone --quiet --no-checkout "$repo" "$root/root/TripLedger" &&
        git -C "$root/root/TripLedger" checkout --quiet --detach "$commit"
}

enter_root() {
    mount -t proc proc "$root/proc" &&
        cp -L /etc/resolv.conf "$root/etc/resolv.conf"
}

run_without_display() {
    local status=0
    in_root ./scripts/run.sh 2> "$work/run.stderr" || status=$?
    echo "run.sh: exit status $status, standard error:"
    cat "$work/run.stderr"
    [ "$status" -ne 0 ] && [ "$(cat "$work/run.stderr")" = "$expected" ]
}

make_package() {
    in_root ./scripts/package.sh | tee "$work/package.out" &&
        package="$root$(tail -n 1 "$work/package.out")" &&
        [ -f "$package" ]
}

# lintian's errors fail the step; everything it says, notes (I:) included, is printed.
check_package() {
    local files="$root/tmp/files"
    in_root "apt-get install -y -qq --no-install-recommends lintian desktop-file-utils appstream > /dev/null" &&
        cp "$package" "$root/tmp/" &&
        in_root "lintian --fail-on error --display-info /tmp/${package##*/}" > "$work/lintian.out" 2>&1 &&
        dpkg-deb -x "$package" "$files" &&
        in_root "desktop-file-validate /tmp/files/usr/share/applications/*.desktop" 2>&1 &&
        in_root "appstreamcli validate --no-net /tmp/files/usr/share/metainfo/*.metainfo.xml" 2>&1
}

in_second() {
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive chroot "$second" "$@" 3>&- 4>&-
}

# As a user would: the package lists first (mmdebstrap leaves none), then apt install, recommended packages left
# out. Qt's plugins are no linked libraries: the X11 platform plugin and the SVG icon engine, which draws the
# program's images, must have come, each with every library it needs.
install_package() {
    local plugin
    cp "$package" "$second/tmp/" &&
        in_second apt-get update -qq &&
        in_second apt-get install -y -q --no-install-recommends "/tmp/${package##*/}" &&
        for plugin in /platforms/libqxcb.so /iconengines/libqsvgicon.so; do
            plugin="$(in_second sh -c "ls /usr/lib/*/qt6/plugins$plugin")" &&
                echo "$plugin" && ! in_second ldd "$plugin" | grep 'not found' || return
        done &&
        if in_second dpkg-query -W -f '${Package}\n' | grep -E -- '-dev$'; then
            echo "development packages installed (above)"
            false
        fi &&
        echo "$(in_second dpkg-query -W | wc -l) packages installed; the package's Depends:" &&
        dpkg-deb -f "$package" Depends
}

# As a desktop session would have it: the user's own runtime folder, no display. Everything the program or Qt
# writes after the mark, outside /proc, /dev and /sys, is listed and fails the step.
start_as_user() {
    local user=motorist uid written
    chroot "$second" useradd --create-home "$user" &&
        uid="$(chroot "$second" id -u "$user")" &&
        install -d -m 0700 -o "$uid" -g "$uid" "$second/run/user/$uid" &&
        touch "$second/tmp/mark" && sleep 1 || return
    chroot --userspec="$user:$user" "$second" /usr/bin/env -i HOME="/home/$user" USER="$user" PATH=/usr/bin:/bin \
        XDG_RUNTIME_DIR="/run/user/$uid" QT_QPA_PLATFORM=offscreen TripLedger > "$work/program.out" 2>&1 3>&- 4>&- &
    program=$!
    sleep 5
    kill -0 "$program" || { echo "It ended within 5 s:"; cat "$work/program.out"; return 1; }
    kill "$program" && { wait "$program" || true; }
    program=""
    echo "It stayed up for 5 s; it printed:"
    cat "$work/program.out"
    # The program looks beside itself first, then in ../share/tripledger/.
    [ ! -e "$second/usr/bin/TripLedgerHelp.html" ] &&
        chroot --userspec="$user:$user" "$second" test -r /usr/share/tripledger/TripLedgerHelp.html &&
        echo "Its help document is /usr/share/tripledger/TripLedgerHelp.html." &&
        written="$(chroot "$second" find / -xdev -newer /tmp/mark -not -path '/proc/*' -not -path '/sys/*' \
            -not -path '/dev/*' -not -path /tmp)" || return
    [ -z "$written" ] || { echo "Written before a save:"; echo "$written"; return 1; }
    echo "Nothing written before a save."
}

echo "Fresh Debian 12 machine: commit $commit, package sources ${sources[*]}"
total=$(now)
command -v mmdebstrap > /dev/null || run_step "install mmdebstrap" install_mmdebstrap
run_step "make a minimal bookworm root" make_root
run_step "clone the committed tree" clone_tree
run_step "mount /proc, copy resolv.conf" enter_root
run_step "./scripts/test.sh" in_root ./scripts/test.sh
tail -n 3 "$work/$steps.log"
run_step "./scripts/run.sh without a display" run_without_display
run_step "./scripts/package.sh" make_package
tail -n 1 "$work/package.out"
run_step "check the package: lintian, desktop-file-validate, appstreamcli" check_package
echo "lintian printed:"
grep -v '^running with root privileges' "$work/lintian.out" || echo "(nothing)"
run_step "make a second bookworm root, without development packages" make_second_root
run_step "install the package there with apt" install_package
tail -n 2 "$work/$steps.log"
run_step "start it there as an ordinary user, offscreen" start_as_user
tail -n 4 "$work/$steps.log"
echo "Fresh-machine check passed in $(seconds_since "$total")"
