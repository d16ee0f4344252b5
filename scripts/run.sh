#!/usr/bin/env bash
# Builds Belmora, registers its component for this user and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBELMORA_TESTS=OFF -DBELMORA_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
build/program/belmora-regsvr -s build/program/libcalvira.so
exec build/program/belmora
