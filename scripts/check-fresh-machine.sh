#!/usr/bin/env bash
# Tries the README's Quick start as a new user would, on a fresh Debian 12 where nothing was installed before:
# makes a minimal bookworm root (mmdebstrap, variant apt, plus git and ca-certificates) from this machine's own
# package sources, puts a clean clone of the committed tree in it, and there, as root, runs ./scripts/test.sh,
# then ./scripts/run.sh without a display, which must print its one line and fail. Prints each step and how long
# it took; a failure ends with a line naming its step. Removes the root and unmounts what it mounted, whatever
# happens. Needs root. Run by .ci/run.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
expected="Trip Ledger needs a desktop: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)."

# The script's own output, for finish: a signal may end the script while a step's output goes to its log.
exec 3>&1 4>&2

work="$(mktemp -d /tmp/tripledger-fresh.XXXXXX)"
root="$work/root"
step="start"

finish() {
    local status=$?
    if mountpoint -q "$root/proc" 2>/dev/null; then
        umount "$root/proc" || umount -l "$root/proc"
    fi
    # --one-file-system: should /proc still be mounted, it is never walked into.
    local start
    start=$(now)
    rm -rf --one-file-system "$work"
    echo "== remove the root: done in $(seconds_since "$start")" >&3
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

echo "Fresh Debian 12 machine: commit $commit, package sources ${sources[*]}"
total=$(now)
command -v mmdebstrap > /dev/null || run_step "install mmdebstrap" install_mmdebstrap
run_step "make a minimal bookworm root" make_root
run_step "clone the committed tree" clone_tree
run_step "mount /proc, copy resolv.conf" enter_root
run_step "./scripts/test.sh" in_root ./scripts/test.sh
tail -n 3 "$work/$steps.log"
run_step "./scripts/run.sh without a display" run_without_display
echo "Fresh-machine check passed in $(seconds_since "$total")"
