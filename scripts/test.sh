#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a plain release build, and a debug build
# under AddressSanitizer and UndefinedBehaviorSanitizer. The plain build is also
# installed into a temporary prefix and the examples are built and run against it.
# Every compile goes through ccache: the parent project that takes the kit in with
# add_subdirectory() compiles the plain build's objects again, and a second run
# compiles only what changed. CCACHE_DIR and CCACHE_MAXSIZE choose another cache.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
export CMAKE_CXX_COMPILER_LAUNCHER=ccache  # every configure below, the install check's too
export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/xpkit-ccache}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-2G}  # about four runs' objects of all four builds
ccache --zero-stats >/dev/null

echo "== plain build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== install, and the examples built against it =="
bash scripts/test-install.sh build

echo "== debug build with AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DXPKIT_SANITIZE=ON -DXPKIT_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzz smoke run (libFuzzer, clang) =="
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DXPKIT_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
# The layout reader starts from the program's own layout.
seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
cp src/xpkit/shell/frmMain.layout "$seeds/"
targets=(b64_decode b64_roundtrip rc4_roundtrip layout_reader)
for target in "${targets[@]}"; do
  corpus=()
  [ "$target" = layout_reader ] && corpus=("$seeds")
  ./build-fuzz/fuzz_$target "${corpus[@]}" -runs=20000 -max_total_time=15 -max_len=4096 -seed=1 2>&1 | tail -1
done
echo "fuzz smoke: ${#targets[@]} passed, 0 failed"
ccache --show-stats | grep -Ei 'hits|misses' || true
