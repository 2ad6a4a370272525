#!/usr/bin/env bash
# Configures and builds the project into build/ (or $VKT_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VKT_BUILD_DIR:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$build" --parallel "$jobs"
