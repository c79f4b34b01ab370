#!/usr/bin/env bash
# Installs what is missing, builds Mirudex, prepares the real dictionaries for
# the real-data tests, and runs every test. The exit status is the result.
#   ./test.sh [--sanitize=address|thread] [ctest arguments...]
# --sanitize=address builds with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan and runs the whole suite; --sanitize=thread builds with
# ThreadSanitizer into build-tsan and runs the suite without the GUI tests
# that start no worker (Qt itself is not instrumented). Any report fails the
# test it happens in. Suppressions, for reports inside system libraries only,
# are in scripts/sanitizers/.
set -euo pipefail
cd "$(dirname "$0")"

sanitize=""
ctest_args=()
for arg in "$@"; do
    case "$arg" in
    --sanitize=*) sanitize="${arg#--sanitize=}" ;;
    *) ctest_args+=("$arg") ;;
    esac
done

scripts/install-deps.sh

# Every source file must be formatted; the suite still runs so that all
# faults show at once, and the result then fails.
format_status=0
scripts/format.sh --check || format_status=1

case "$sanitize" in
"")
    scripts/build.sh
    ;;
address | thread)
    # Benchmarks are timing figures, of no use under a sanitizer.
    if [ "$sanitize" = address ]; then export BUILD_DIR="${BUILD_DIR:-build-asan}"; else export BUILD_DIR="${BUILD_DIR:-build-tsan}"; fi
    scripts/build.sh -DMIRUDEX_SANITIZE="$sanitize" -DMIRUDEX_BUILD_BENCH=OFF
    supp="$PWD/scripts/sanitizers"
    export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
    export TSAN_OPTIONS="suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
    # The tests that repeat a race (options read from two threads, user
    # actions during searches) run 100 rounds under ThreadSanitizer.
    if [ "$sanitize" = thread ]; then export MIRUDEX_TEST_ROUNDS="${MIRUDEX_TEST_ROUNDS:-100}"; fi
    ;;
*)
    echo "usage: ./test.sh [--sanitize=address|thread] [ctest arguments...]" >&2
    exit 2
    ;;
esac

# Real-data tests read Debian's dictionaries from here.
scripts/setup-data.sh build-data >/dev/null

export MIRUDEX_REAL_DATA="$PWD/build-data"
# Every temporary folder of this run is made in one folder removed at the end,
# also what a test that was stopped or that a sanitizer ended leaves behind.
export TMPDIR="$(mktemp -d /tmp/mirudex-run-XXXXXX)"
trap 'rm -rf "$TMPDIR"' EXIT
export XDG_RUNTIME_DIR="$TMPDIR/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen

ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)" ${ctest_args[@]+"${ctest_args[@]}"}
exit "$format_status"
