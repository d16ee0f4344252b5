#!/usr/bin/env bash
# Runs the window benchmarks on a real X display (Xvfb with the xcb platform,
# no window manager) and offscreen, one after the other, so the two can be
# compared:
#   bench/run_xcb.sh [build folder] [benchmark ...]
# (default: build-test; reading_bench recording_bench conversion_bench startup_bench).
# Ends with the RESULT line of every run. Needs Xvfb (apt-get install xvfb);
# without it only the offscreen runs are made.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-test}"
shift || true
benches=("$@")
[[ ${#benches[@]} -gt 0 ]] || benches=(reading_bench recording_bench conversion_bench startup_bench)
for b in "${benches[@]}"; do
  [[ -x "$build/bench/$b" ]] || { echo "no $build/bench/$b: build with -DBELMORA_BENCH=ON first" >&2; exit 1; }
done

log=$(mktemp)
out=$(mktemp)
trap 'rm -f "$log" "$out"' EXIT
run() {  # platform benchmark
  echo "== $2, $1"
  if ! QT_QPA_PLATFORM=$1 "$build/bench/$2" | tee "$out"; then
    echo "$1 $2 FAILED" >>"$log"
  fi
  sed -n "s/^RESULT/$1 $2/p" "$out" >>"$log"
}

for b in "${benches[@]}"; do run offscreen "$b"; done

if ! command -v Xvfb >/dev/null; then
  echo "== xcb: skipped, Xvfb is not installed"
else
  display=""
  for n in $(seq 90 140); do
    if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then display=":$n"; break; fi
  done
  [[ -n "$display" ]] || { echo "no free X display number" >&2; exit 1; }
  Xvfb "$display" -screen 0 1600x1200x24 >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null; rm -f "$log" "$out"' EXIT
  for _ in $(seq 1 50); do [[ -e /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.1; done
  export DISPLAY="$display"
  for b in "${benches[@]}"; do run xcb "$b"; done
fi

echo "== results"
cat "$log"
