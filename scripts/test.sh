#!/usr/bin/env bash
# Builds Belmora with its tests and runs every test, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBELMORA_TESTS=ON >/dev/null
cmake --build build-test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
cd build-test
ctest --output-on-failure -j"$(nproc)"
