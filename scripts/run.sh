#!/usr/bin/env bash
# Builds the 64-bit Windows program and runs it under Wine.
# With a usable X display it runs in the foreground. Without one it runs on a virtual display:
# after a few seconds a screenshot is saved as quorvel-screenshot.png in the repository root,
# and the program keeps running until Ctrl+C, or for QUORVEL_RUN_SECONDS seconds when set.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

jobs=${QUORVEL_JOBS:-2}
screenshot_delay=${QUORVEL_SCREENSHOT_DELAY:-8}
run_seconds=${QUORVEL_RUN_SECONDS:-}
if [[ -n $run_seconds && ! $run_seconds =~ ^[0-9]+$ ]]; then
  echo "run.sh: QUORVEL_RUN_SECONDS must be a whole number of seconds" >&2
  exit 2
fi

scripts/setup.sh

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Same configuration as the test script, so both share one build folder without reconfiguring.
cmake -S . -B build/mingw64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v wine)" "${launcher[@]}"
cmake --build build/mingw64 -j "$jobs" --target quorvel
exe="$root/build/mingw64/src/quorvel.exe"

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh build/mingw64

if [[ -z $QUORVEL_XVFB_PID ]]; then
  echo "run.sh: running $exe on $DISPLAY"
  wine "$exe"
  exit 0
fi

wine "$exe" </dev/null &
app_pid=$!
app_rc=""

app_running() {
  [[ -z $app_rc ]] && kill -0 "$app_pid" 2>/dev/null
}

# Asks the program to close as a user would; force only when it does not react.
close_app() {
  local i
  if [[ -n $app_rc ]]; then
    return 0
  fi
  if kill -0 "$app_pid" 2>/dev/null; then
    timeout 30 wine cmd /c taskkill /im quorvel.exe >/dev/null 2>&1 || true
    for ((i = 0; i < 100; i++)); do
      kill -0 "$app_pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$app_pid" 2>/dev/null; then
      echo "run.sh: warning: quorvel.exe did not close within 10 s of being asked; forcing it" >&2
      timeout 30 wine cmd /c taskkill /f /im quorvel.exe >/dev/null 2>&1 || true
    fi
  fi
  app_rc=0
  wait "$app_pid" 2>/dev/null || app_rc=$?
}
# Also runs when this script stops on an error or a signal, before Wine is shut down.
QUORVEL_EXIT_HOOKS+=(close_app)

echo "run.sh: started quorvel.exe on virtual display $DISPLAY (pid $app_pid)"
for ((i = 0; i < screenshot_delay * 10; i++)); do
  app_running || break
  sleep 0.1
done
if ! app_running; then
  app_rc=0
  wait "$app_pid" || app_rc=$?
  echo "run.sh: quorvel.exe ended after less than $screenshot_delay s (exit $app_rc)" >&2
  exit 1
fi

shot="$root/quorvel-screenshot.png"
import -display "$DISPLAY" -window root "$shot"
echo "run.sh: screenshot saved to $shot"

# Ctrl+C or a TERM is the normal way to stop here, not an error.
stop_requested=""
trap 'stop_requested=1' INT TERM
if [[ -n $run_seconds ]]; then
  echo "run.sh: running for $run_seconds s"
  end=$((SECONDS + run_seconds))
  while [[ -z $stop_requested ]] && ((SECONDS < end)) && app_running; do
    sleep 1 || true # a Ctrl+C also ends the sleep with a failure
  done
else
  echo "run.sh: press Ctrl+C to stop"
  while [[ -z $stop_requested ]] && app_running; do
    sleep 1 || true # a Ctrl+C also ends the sleep with a failure
  done
fi

if [[ -z $stop_requested ]] && ! app_running; then
  app_rc=0
  wait "$app_pid" || app_rc=$?
  echo "run.sh: quorvel.exe ended by itself (exit $app_rc)"
  exit "$app_rc"
fi
echo "run.sh: closing quorvel.exe"
close_app
echo "run.sh: quorvel.exe ended (exit $app_rc)"
