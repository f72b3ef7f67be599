#!/usr/bin/env bash
# Sets up, builds and runs every test, headless.
#   ./scripts/test.sh               the usual build in build/
#   ./scripts/test.sh --sanitizers  a build of its own in build-asan/ with AddressSanitizer and
#                                   UndefinedBehaviorSanitizer; any report fails the test
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--sanitizers" ]; then
  bash scripts/build.sh
  export QT_QPA_PLATFORM=offscreen
  cd build
  ctest --output-on-failure -j"$(nproc)" --timeout 600
  exit 0
fi

bash scripts/setup-deps.sh
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null
cmake --build build-asan -j"$(nproc)"
# Leaks are checked too (on by default); the first report ends the test program.
export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
cd build-asan
ctest --output-on-failure -j"$(nproc)" --timeout 900
