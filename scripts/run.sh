#!/usr/bin/env bash
# Builds the launcher (installing what is missing) and starts it. Without a display it starts a
# virtual one (Xvfb), saves a screenshot of it, and keeps running until the launcher ends or Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target velmo -j "$(nproc)"

if [ -n "${DISPLAY:-}" ]; then
  exec build/app/velmo
fi

# Headless: WebEngine as root needs its sandbox off, and there is no GPU.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb_pid=$!
launcher_pid=""
trap 'kill "$launcher_pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null' EXIT INT TERM
export DISPLAY=$display
sleep 1
build/app/velmo &
launcher_pid=$!
sleep 4
screenshot=$PWD/build/velmo-screenshot.png
import -display "$display" -window root "$screenshot"
echo "Launcher running on virtual display $display; screenshot: $screenshot"
echo "Press Ctrl+C to stop."
wait "$launcher_pid"
