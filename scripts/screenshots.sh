#!/usr/bin/env bash
# Takes the screenshots in docs/ from the real program on a virtual desktop (Xvfb with openbox), with a
# small made-up history of three vehicles. Needs the build from run.sh or test.sh.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
packages=(xvfb openbox xdotool imagemagick x11-apps)
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${packages[@]}"; break; }
done

work="$(mktemp -d)"
cp "$root/build/TripLedger" "$root/build/TripLedgerHelp.html" "$work/"
for week in $(seq 0 9); do
    for reg in "AB12 CDE" "XY99 ZZZ" "LK07 MPG"; do
        miles=$((380 + RANDOM % 90))
        printf 'VehicleReg:%s;Date:%s 08:%02d:00;Mileage:%s;Cost:45.50;MPG: %s;Commute Distance:15;Price Per Unit:95;Unit:Litre;\r\n' \
            "$reg" "$(date -d "2026-09-01 + $((week * 7)) days" +%d/%m/%Y)" $((RANDOM % 60)) "$miles" \
            "$(awk -v m="$miles" 'BEGIN { printf "%.2f", m / 9.58 }')"
    done
done > "$work/TripLedger.txt"

export DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
openbox >/dev/null 2>&1 &
sleep 1
(cd "$work" && LANG=en_GB.UTF-8 LC_ALL=C.UTF-8 ./TripLedger >/dev/null 2>&1 &)
sleep 2

main=$(xdotool search --sync --name '^Trip Ledger$' | tail -1)
# Read from the screen, so that a tooltip over the window is taken with it.
shot() { sleep 0.7; import -screen -frame -window "$1" "$root/docs/$2.png"; echo "docs/$2.png"; }
xdotool windowactivate --sync "$main"
for text in 400 45.50 15; do xdotool type "$text"; xdotool key Tab; done
xdotool key Tab; xdotool type 95; xdotool key alt+c
shot "$main" calculator

eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 205)) $((Y + 20)) click 1           # the Graph tab, no vehicle chosen yet
shot "$main" graph-empty
xdotool mousemove $((X + 280)) $((Y + 50)) click 1 key Down Return
shot "$main" graph
xdotool key Tab End Left Left Left                          # the chart walked from the keyboard
shot "$main" graph-walk
xdotool mousemove $((X + 140)) $((Y + 20)) click 1           # the History tab
sleep 0.5
xdotool mousemove $((X + 40)) $((Y + 58)) click 1 key Right  # open the first vehicle
xdotool windowsize "$main" 760 560                          # enlarged: the whole record lines
shot "$main" history

xdotool key ctrl+h
help=$(xdotool search --sync --name '^Trip Ledger Help$' | tail -1)
shot "$help" help
xdotool windowclose "$help" 2>/dev/null || xdotool key --window "$help" alt+F4
xdotool windowactivate --sync "$main"
xdotool mousemove $((X + 100)) $((Y + 100)) click 1
xdotool key ctrl+a
about=$(xdotool search --sync --name '^About Trip Ledger$' | tail -1)
shot "$about" about
