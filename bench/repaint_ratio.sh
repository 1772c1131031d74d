#!/usr/bin/env bash
# The CPU of the program with 20 stored digital clocks showing seconds (default
# look, "&ldate;&br;&time -s;"), measured side by side under Wine with a minimal
# hand-written program doing the same drawing (bench/reference_clock.cpp).
# Prints the CPU seconds of both over the same interval and their ratio.
#   QUORVEL_BENCH_SECONDS   length of the measured interval (default 60)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${QUORVEL_BENCH_SECONDS:-60}

cmake -S . -B build/mingw64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQUORVEL_BENCH=ON >/dev/null
cmake --build build/mingw64 -j "${QUORVEL_JOBS:-2}" --target quorvel reference_clock >/dev/null

# A prefix of its own: the tests may run beside and stop their Wine server at any time.
source scripts/wine-env.sh build/bench-wine

# Twenty clocks where the reference puts its windows.
source bench/stored_clocks.sh
store_clocks 20

# user + system CPU of a Linux process, in clock ticks
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
pid_of() { pgrep -f "$1" | head -n 1; }

wine build/mingw64/src/quorvel.exe &
wine build/mingw64/bench/reference_clock.exe &
QUORVEL_EXIT_HOOKS+=("wineserver -k >/dev/null 2>&1")
sleep 8  # start-up and the first repaints are not measured
program=$(pid_of 'quorvel\.exe')
reference=$(pid_of 'reference_clock\.exe')
p0=$(cpu_ticks "$program")
r0=$(cpu_ticks "$reference")
sleep "$seconds"
if [[ -n ${QUORVEL_BENCH_SHOT:-} ]]; then import -window root "$QUORVEL_BENCH_SHOT"; fi
p1=$(cpu_ticks "$program")
r1=$(cpu_ticks "$reference")
hz=$(getconf CLK_TCK)
awk -v p=$((p1 - p0)) -v r=$((r1 - r0)) -v hz="$hz" -v s="$seconds" 'BEGIN {
  printf "over %d s: program %.2f s CPU (%.1f %% of a core), reference %.2f s CPU (%.1f %%), ratio %.2f\n",
    s, p / hz, 100 * p / hz / s, r / hz, 100 * r / hz / s, (r > 0 ? p / r : 0)
}'
