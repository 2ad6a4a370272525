#!/usr/bin/env bash
# Configures the project into build/ (or $VKT_BUILD_DIR) and builds it:
# the targets named on the command line, or everything when none is named.
#   scripts/build.sh                     everything (tests, benchmarks)
#   scripts/build.sh vkt410 vkt410-cli   only the two programs
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VKT_BUILD_DIR:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)

if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "Configuring the build in $build"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
if [ $# -eq 0 ]; then
  echo "Building everything (programs, tests, benchmarks) in $build"
  cmake --build "$build" --parallel "$jobs"
else
  echo "Building $* in $build"
  cmake --build "$build" --parallel "$jobs" --target "$@"
fi
