#!/usr/bin/env bash
# How often the idle program wakes: the voluntary context switches of its process (all its
# threads) under Wine over a measured interval, for the default clock without seconds, one
# clock with seconds and 20 clocks with seconds. With QUORVEL_BENCH_FIXED_STEP=1 the program
# is built (in its own build folder) to tick on the old fixed 200 ms step, for comparison.
#   QUORVEL_BENCH_SECONDS   length of the measured interval (default 60)
#   QUORVEL_BENCH_CASES     which of "default seconds twenty" to run (default all three)
#   QUORVEL_BENCH_EXE       a program built elsewhere (an older commit, say) to measure instead
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${QUORVEL_BENCH_SECONDS:-60}
cases=${QUORVEL_BENCH_CASES:-default seconds twenty}
build=build/mingw64
flags=()
if [[ ${QUORVEL_BENCH_FIXED_STEP:-0} == 1 ]]; then
  build=build/mingw64-fixed-step
  flags=(-DCMAKE_CXX_FLAGS=-DQUORVEL_CLOCK_FIXED_STEP=1)
fi

exe=${QUORVEL_BENCH_EXE:-}
if [[ -z $exe ]]; then
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    "${flags[@]}" >/dev/null
  cmake --build "$build" -j "${QUORVEL_JOBS:-2}" --target quorvel >/dev/null
  exe=$build/src/quorvel.exe
fi
exe=$(realpath "$exe")
# Its command line holds the path with either kind of slash; other Wine programs may run beside.
exe_pattern=$(sed 's/[^A-Za-z0-9]/./g' <<<"$exe")

# A prefix of its own: the tests may run beside and stop their Wine server at any time.
source scripts/wine-env.sh build/bench-wine
QUORVEL_EXIT_HOOKS+=("wineserver -k >/dev/null 2>&1")

source bench/stored_clocks.sh

# Voluntary context switches of every thread of a process.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

for name in $cases; do
  case $name in
    default) store_clocks 0 ;;
    seconds) store_clocks 1 ;;
    twenty) store_clocks 20 ;;
    *) echo "unknown case $name" >&2; exit 2 ;;
  esac
  wine "$exe" &
  launcher=$!
  sleep 8  # start-up and the first repaints are not measured
  pid=$(pgrep -f -- "$exe_pattern" | head -n 1)
  s0=$(switches "$pid")
  c0=$(cpu_ticks "$pid")
  sleep "$seconds"
  s1=$(switches "$pid")
  c1=$(cpu_ticks "$pid")
  wineserver -k >/dev/null 2>&1 || true
  wait "$launcher" || true
  awk -v n="$name" -v s=$((s1 - s0)) -v c=$((c1 - c0)) -v hz="$(getconf CLK_TCK)" -v t="$seconds" 'BEGIN {
    printf "%-8s over %d s: %d voluntary context switches (%.0f a minute), %.2f %% of a core\n",
      n, t, s, s * 60 / t, 100 * c / hz / t
  }'
done
