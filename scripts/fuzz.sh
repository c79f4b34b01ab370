#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang into build-fuzz and runs
# them, each for SECONDS (default 60), one after the other:
#   scripts/fuzz.sh [TARGET|all] [SECONDS]
# Inputs that reach new code are kept in build-fuzz/corpus/<target> (the
# seeds under fuzz/corpus/<target> are read, never written). A crash, a
# failed property, a timeout (10 s on one input) or running out of memory
# leaves the input in build-fuzz/findings/<target>/ and ends the script with
# status 1; copy it to fuzz/corpus/<target>/ once the fault is mended, so
# that ./test.sh replays it from then on. Installs clang and libFuzzer with
# apt-get when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
TARGET="${1:-all}"
SECONDS_EACH="${2:-60}"
BUILD_DIR="${FUZZ_BUILD_DIR:-build-fuzz}"

scripts/install-deps.sh
missing=()
for p in clang libclang-rt-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRUDEX_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
targets=$(sed -n '/^set(MIRUDEX_FUZZ_TARGETS/,/)/p' fuzz/CMakeLists.txt | sed 's/set(MIRUDEX_FUZZ_TARGETS//; s/)//' |
    tr -s ' \n' '\n' | grep -v '^$')
if [ "$TARGET" != all ]; then
    grep -qx "$TARGET" <<<"$targets" || { echo "fuzz.sh: no harness '$TARGET'; one of:" $targets >&2; exit 2; }
    targets="$TARGET"
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target $(sed 's/^/fuzz_/' <<<"$targets")

root="$(pwd)"
status=0
for t in $targets; do
    mkdir -p "$BUILD_DIR/corpus/$t" "$BUILD_DIR/findings/$t"
    echo "== $t: $SECONDS_EACH s"
    # Absolute paths: the harnesses work in a temporary folder of their own.
    if ! "$root/$BUILD_DIR/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -max_len=8192 -print_final_stats=1 -artifact_prefix="$root/$BUILD_DIR/findings/$t/" \
        "$root/$BUILD_DIR/corpus/$t" "$root/fuzz/corpus/$t" 2>"$root/$BUILD_DIR/findings/$t.log"; then
        echo "   FINDING: see $BUILD_DIR/findings/$t/ and $BUILD_DIR/findings/$t.log"
        status=1
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$BUILD_DIR/findings/$t.log" | sed 's/^/   /' || true
done
exit $status
