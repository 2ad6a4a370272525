#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or
# $VKT_FUZZ_BUILD_DIR) and runs each of them.
#
#   scripts/fuzz.sh --short      30 s per target (VKT_FUZZ_SECONDS), as ./test does;
#                                new inputs go to build-fuzz/corpus/, fuzz/corpus/ is
#                                only read
#   scripts/fuzz.sh [TARGET...]  10 minutes per target (VKT_FUZZ_SECONDS); the inputs
#                                that add coverage are merged into fuzz/corpus/<target>/
#
# A crash stops the script with the fuzzer's report; the input that caused
# it is kept as build-fuzz/artifacts/<target>-crash-...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VKT_FUZZ_BUILD_DIR:-$root/build-fuzz}
jobs=$(nproc 2>/dev/null || echo 2)

short=0
targets=()
for arg in "$@"; do
  case "$arg" in
    --short) short=1 ;;
    -*) echo "usage: scripts/fuzz.sh [--short] [TARGET...]" >&2; exit 64 ;;
    *) targets+=("$arg") ;;
  esac
done
if [ "$short" = 1 ]; then
  seconds=${VKT_FUZZ_SECONDS:-30}
else
  seconds=${VKT_FUZZ_SECONDS:-600}
fi

if ! command -v clang++ >/dev/null 2>&1; then
  echo "error: clang++ is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

flags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake -S "$root" -B "$build" -G Ninja -Wno-dev \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" \
  -DVKT_BUILD_FUZZ=ON -DVKT_BUILD_TESTS=OFF -DVKT_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$jobs" --target vkt_fuzz

if [ ${#targets[@]} -eq 0 ]; then
  for t in fuzz_project fuzz_image fuzz_adjustment fuzz_config fuzz_exchange fuzz_csv; do
    [ -x "$build/fuzz/$t" ] && targets+=("$t")
  done
fi

# Longest input of each target: a whole project or image, a little more
# than an adjustment file, and reply streams long enough for a whole read.
max_len() {
  case "$1" in
    fuzz_project) echo 20480 ;;
    fuzz_image) echo 65536 ;;
    fuzz_adjustment) echo 512 ;;
    fuzz_config) echo 8192 ;;
    fuzz_exchange) echo 4096 ;;
    fuzz_csv) echo 65536 ;;
    *) echo 4096 ;;
  esac
}

# A smaller quarantine than the default 256 MB: the targets work on records
# of tens of kilobytes, and fresh pages for each of them would cost more
# than the work itself; 16 MB still spans many inputs.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

mkdir -p "$build/artifacts" "$build/logs"
summary=()
for t in "${targets[@]}"; do
  exe="$build/fuzz/$t"
  seeds="$root/fuzz/corpus/$t"
  work="$build/corpus/$t"
  mkdir -p "$seeds" "$work"
  log="$build/logs/$t.log"
  echo "== $t: ${seconds} s"
  # New inputs go to the first folder; the committed seeds are read only.
  if ! "$exe" -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" "$work" "$seeds" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "error: $t failed; the input is in $build/artifacts/ and the whole log in $log" >&2
    exit 1
  fi
  done_line=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE|INITED).*cov:' "$log" | tail -n 1 || true)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$done_line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$done_line")
  corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$done_line")
  summary+=("$(printf '%-16s %6s s %10s execs %7s exec/s  cov %5s  ft %6s  corpus %5s' \
    "$t" "$seconds" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}")")
  echo "   $done_line"

  if [ "$short" = 0 ]; then
    # Keep what adds coverage beside the seeds, so the next run starts there.
    "$exe" -merge=1 -max_len="$(max_len "$t")" "$seeds" "$work" >"$build/logs/$t.merge.log" 2>&1 ||
      { tail -n 20 "$build/logs/$t.merge.log"; exit 1; }
    echo "   corpus: $(find "$seeds" -type f | wc -l) inputs in fuzz/corpus/$t"
  fi
done

echo
echo "Fuzzing summary (libFuzzer's final figures):"
printf '%s\n' "${summary[@]}"
