#!/usr/bin/env bash
# Takes the screenshots in docs/ from the real program on a virtual desktop (Xvfb with openbox), with a
# small made-up history of three vehicles; the Calculator page also under qt6ct, with its "darker" colours and
# with a 16-point font. Needs the build from run.sh or test.sh. DISPLAY_NUMBER chooses the virtual display (97).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
packages=(xvfb openbox xdotool imagemagick x11-apps qt6ct)
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${packages[@]}"; break; }
done

RANDOM=42 # the same made-up history at every run
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

export DISPLAY=":${DISPLAY_NUMBER:-97}"
Xvfb "$DISPLAY" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
app=
trap 'kill $app $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
openbox >/dev/null 2>&1 &
sleep 1

# Starts the program, when given a font under qt6ct with that font and colour scheme ("none": Qt's own colours),
# and types a calculation.
start() {
    local font=${1:-} scheme=${2:-none}
    if [ -n "$font" ]; then
        mkdir -p "$work/config/qt6ct"
        printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/%s.conf\ncustom_palette=%s\nstyle=Fusion\n\n[Fonts]\ngeneral="%s"\n' \
            "$scheme" "$([ "$scheme" = none ] && echo false || echo true)" "$font" > "$work/config/qt6ct/qt6ct.conf"
    fi
    (cd "$work" && if [ -n "$font" ]; then export QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$work/config"; fi
        LANG=en_GB.UTF-8 LC_ALL=C.UTF-8 exec ./TripLedger >/dev/null 2>&1) &
    app=$!
    main=$(xdotool search --sync --pid "$app" --name '^Trip Ledger$' | tail -1)
    xdotool windowactivate --sync "$main"
    for text in 400 45.50 15; do xdotool type "$text"; xdotool key Tab; done
    xdotool key Tab; xdotool type 95; xdotool key alt+c
}
stop() { kill "$app"; wait "$app" 2>/dev/null || true; }
# Read from the screen, so that a tooltip over the window is taken with it.
shot() { sleep 0.7; import -screen -frame -window "$1" "$root/docs/$2.png"; echo "docs/$2.png"; }

start
shot "$main" calculator

# Places in the window at the default font, scaled to the window's present size.
eval "$(xdotool getwindowgeometry --shell "$main")"
at() {
    local x=$1 y=$2
    shift 2
    xdotool mousemove $((X + x * WIDTH / 424)) $((Y + y * HEIGHT / 439)) "$@"
}
at 205 20 click 1                                            # the Graph tab, no vehicle chosen yet
shot "$main" graph-empty
at 280 50 click 1 key Down Return
shot "$main" graph
xdotool key Tab End Left Left Left                          # the chart walked from the keyboard
shot "$main" graph-walk
at 140 20 click 1                                            # the History tab
sleep 0.5
at 40 58 click 1 key Right                                   # open the first vehicle
xdotool windowsize "$main" $((WIDTH * 760 / 424)) $((HEIGHT * 560 / 439)) # enlarged: the whole record lines
shot "$main" history

xdotool key ctrl+h
help=$(xdotool search --sync --name '^Trip Ledger Help$' | tail -1)
shot "$help" help
xdotool windowclose "$help" 2>/dev/null || xdotool key --window "$help" alt+F4
xdotool windowactivate --sync "$main"
at 100 100 click 1
xdotool key ctrl+a
about=$(xdotool search --sync --name '^About Trip Ledger$' | tail -1)
shot "$about" about
stop

start "Sans Serif,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1" darker
shot "$main" calculator-dark
stop
start "Sans Serif,16,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
shot "$main" calculator-16pt
stop
