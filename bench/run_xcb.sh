#!/usr/bin/env bash
# Runs the reading benchmark on a real X display (Xvfb with the xcb platform)
# and offscreen, one after the other, so the two can be compared:
#   bench/run_xcb.sh [build folder]      (default: build-test)
# Needs Xvfb (apt-get install xvfb); without it only the offscreen run is made.
set -euo pipefail
cd "$(dirname "$0")/.."
bench="${1:-build-test}/bench/reading_bench"
[[ -x "$bench" ]] || { echo "no $bench: build with -DBELMORA_BENCH=ON first" >&2; exit 1; }

echo "== offscreen"
QT_QPA_PLATFORM=offscreen "$bench"

if ! command -v Xvfb >/dev/null; then
  echo "== xcb: skipped, Xvfb is not installed"
  exit 0
fi
display=""
for n in $(seq 90 140); do
  if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then display=":$n"; break; fi
done
[[ -n "$display" ]] || { echo "no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1600x1200x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
for _ in $(seq 1 50); do [[ -e /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.1; done
echo "== xcb on Xvfb $display"
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$bench"
