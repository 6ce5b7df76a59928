#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh              the normal build (build/)
#   scripts/test.sh --sanitize   the same suite under AddressSanitizer + UBSan (build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/check-includes.sh
scripts/install-deps.sh
dir=build
opts=()
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-asan
    opts+=(-DLADYA_SANITIZE=ON -DLADYA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
fi
[ -n "${CI:-}" ] && opts+=(-DLADYA_WERROR=ON)
cmake -S . -B "$dir" -G Ninja "${opts[@]}" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
