#!/usr/bin/env bash
# Runs every fuzz target of tests/fuzz for SECONDS each (60 when not given), seeded from the
# corpus under tests/fuzz/semi/. Built with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/; what the runs find to keep stays in
# build-fuzz/corpus/, a failing input in build-fuzz/guasti/. Fails on any crash, hang or report.
#   ./scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
secondi="${1:-60}"

bash scripts/setup-deps.sh
# The fuzzing run-time comes with clang's run-time package.
for p in clang libclang-rt-14-dev; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$p"
  fi
done

cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p build-fuzz/guasti
esito=0
for programma in build-fuzz/fuzz_*; do
  bersaglio="${programma##*/fuzz_}"
  mkdir -p "build-fuzz/corpus/$bersaglio"
  registro="build-fuzz/$bersaglio.log"
  if "$programma" -max_total_time="$secondi" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/guasti/$bersaglio-" \
      "build-fuzz/corpus/$bersaglio" "tests/fuzz/semi/$bersaglio" >"$registro" 2>&1; then
    esecuzioni=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$registro" | grep -o '[0-9]*$')
    echo "$bersaglio: ${esecuzioni:-?} executions in ${secondi} s, clean"
  else
    echo "$bersaglio: FAILED, see $registro and build-fuzz/guasti/" >&2
    tail -n 40 "$registro" >&2
    esito=1
  fi
done
exit $esito
