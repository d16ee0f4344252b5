#!/usr/bin/env bash
# Builds the .xls reader's fuzz target and runs it for a given time:
#   scripts/fuzz.sh [seconds] [workers]     (default: 600 seconds, 4 workers)
# Needs clang 14 or newer with libFuzzer (Debian 12: apt-get install clang-14
# libclang-rt-14-dev); CC/CXX name other compilers. Nothing else of the build
# needs clang. The run starts from the regression corpus and the .xls fixtures,
# holds each input to 2 s and 512 MB (the reader must open or refuse any input
# of up to 1 MB far within that), and leaves what it finds in
# build-fuzz/run/findings: put each such input, gzipped, into
# tests/xls/corpus/crashes together with its fix.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
workers="${2:-4}"
build="${BELMORA_FUZZ_BUILD:-$src/build-fuzz}"
export CC="${CC:-clang-14}" CXX="${CXX:-clang++-14}"

cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBELMORA_FUZZ=ON -DBELMORA_TESTS=ON \
  -DBELMORA_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_read_xls -j"$workers" >/dev/null
fuzzer="$(find "$build" -type f -name fuzz_read_xls -perm -u+x | head -n 1)"

run="$build/run"
rm -rf "$run"
mkdir -p "$run/corpus" "$run/seeds" "$run/findings"
for f in "$src"/tests/xls/corpus/*/*.gz; do
  gzip -dc "$f" > "$run/seeds/$(basename "$(dirname "$f")")-$(basename "$f" .gz)"
done
cp "$src"/tests/fixtures/xls/*.xls "$run/seeds/"

export ASAN_OPTIONS="fast_unwind_on_malloc=0:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$src/tests/xls/fuzz/lsan.supp"
status=0
"$fuzzer" "$run/corpus" "$run/seeds" -fork="$workers" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=2 \
  -max_len=1048576 -artifact_prefix="$run/findings/" -print_final_stats=1 2>"$run/log" || status=$?

# The last figures of the run: runs, coverage, corpus size, ooms/timeouts/crashes.
grep -E "^#[0-9]+: " "$run/log" | tail -n 1 || true
echo "ran $seconds s with $workers workers; findings: $(find "$run/findings" -type f | wc -l) (log: $run/log)"
exit "$status"
