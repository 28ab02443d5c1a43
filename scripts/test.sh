#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests, the launcher's GUI tests (on a virtual
# display when there is no screen), the fuzz corpus replays, and the same Qt-free suites again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
export jobs  # run_ctest also runs inside xvfb-run's shell
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

# WebEngine runs as root here and there is no GPU: tests only, the product keeps its sandbox.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"

run_ctest() { ctest --test-dir "$1" --output-on-failure -j "$jobs" --timeout 300; }
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$(declare -f run_ctest); run_ctest build" 
else
  run_ctest build
fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DVELMO_SANITIZE=ON -DVELMO_BUILD_GUI=OFF -DVELMO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build-asan
