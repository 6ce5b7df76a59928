#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, ASan, UBSan) in build-fuzz/
# and runs each for RUNS inputs over a corpus seeded from tests/data. An input that
# crashes or breaks a target's property is saved in build-fuzz/findings/<target>/ and
# fails the script.
#   scripts/fuzz.sh            the CI smoke (2000 inputs per target)
#   scripts/fuzz.sh 1000000    the long run by hand
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
runs=${1:-2000}
targets=(kr2 swz swx players history club cli trf)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DLADYA_BUILD_FUZZERS=ON \
      -DLADYA_BUILD_TESTS=OFF -DLADYA_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --parallel 2 --target "${targets[@]/%/_fuzz}"

# The targets that go through real files write them to a RAM disk when there is one.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

seed() { # target, find arguments...
    local corpus=build-fuzz/corpus/$1
    shift
    find "$@" -type f -print0 | while IFS= read -r -d '' f; do
        cp "$f" "$corpus/seed-$(sha1sum <"$f" | cut -c1-16)"
    done
}

failed=0
for t in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$t
    findings=build-fuzz/findings/$t
    mkdir -p "$corpus" "$findings"
    case $t in
    kr2) seed kr2 tests/data -name '*.kr2' ;;
    swz) seed swz tests/data -name '*.swz' ;;
    players) seed players tests/data -name players.dat ;;
    history) seed history tests/data -name history_players.dat ;;
    club) seed club tests/data -name players_club.dat ;;
    cli) seed cli fuzz/corpus/cli ;;
    trf) seed trf tests/data -name '*.trf' ;;
    esac
    # Inputs that once broke a property stay in the corpus.
    if [ -d "fuzz/regressions/$t" ]; then seed "$t" "fuzz/regressions/$t"; fi
    options=(-runs="$runs" -seed=1 -print_final_stats=1 -artifact_prefix="$findings/")
    [ -f "fuzz/$t.dict" ] && options+=(-dict="fuzz/$t.dict")
    log=build-fuzz/$t.log
    status=0
    "build-fuzz/fuzz/${t}_fuzz" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [ "$status" -ne 0 ]; then
        failed=1
        echo "fuzz $t: FAILED after ${executed:-?} inputs (log: $log)"
        grep -E 'property failed|ERROR|SUMMARY|Test unit written' "$log" | head -5
    else
        echo "fuzz $t: ${executed:-?} inputs, no findings"
    fi
done
exit $failed
