#!/usr/bin/env bash
# Builds the libraries and the tests with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (or $VKT_ASAN_BUILD_DIR) and
# runs the whole test suite there. Any sanitizer report fails the test
# that caused it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VKT_ASAN_BUILD_DIR:-$root/build-asan}
jobs=$(nproc 2>/dev/null || echo 2)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "error: clang++ is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined"
# Configured every time (it takes seconds) so that a changed flag always
# reaches an existing build folder.
cmake -S "$root" -B "$build" -G Ninja -Wno-dev \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVKT_BUILD_TESTS=ON -DVKT_BUILD_BENCH=OFF -DVKT_BUILD_FUZZ=OFF >/dev/null
cmake --build "$build" --parallel "$jobs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure --parallel "$jobs"
