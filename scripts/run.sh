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

# Headless: WebEngine as root needs its sandbox off, and there is no GPU. A desktop run (above)
# keeps both as they are.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"

wait_for() {  # wait_for <seconds> <command...>: polls the command until it succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# Xvfb picks a free display number itself and writes it to the given descriptor.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
launcher_pid=""
cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null
  rm -f "$display_file"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
wait_for 30 test -s "$display_file" || { echo "Xvfb did not start" >&2; exit 1; }
display=":$(head -n 1 "$display_file")"
export DISPLAY=$display

build/app/velmo &
launcher_pid=$!
if ! wait_for 60 xdotool search --onlyvisible --pid "$launcher_pid" --name '^Velmo$'; then
  echo "The launcher did not show its window" >&2
  exit 1
fi
sleep 1  # the window is mapped; give its first frame time to be painted
screenshot=$PWD/build/velmo-screenshot.png
import -display "$display" -window root "$screenshot"
echo "Launcher running on virtual display $display; screenshot: $screenshot"
echo "Press Ctrl+C to stop."
wait "$launcher_pid" || true
launcher_pid=""
