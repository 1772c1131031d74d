#!/usr/bin/env bash
# Builds and runs every Quorvel test:
#   the source formatting, the core tests under ASan+UBSan (one test per case), the threaded
#   tests under TSan, the fuzz targets, the 64-bit Windows build with its core, Win32 and
#   end-to-end tests under Wine, a compile of the 32-bit Windows program, and the release:
#   both zips made twice (the same bytes), the installer run for all users and for one user.
#   Warnings are errors everywhere.
# Stops at the first failure. QUORVEL_BENCH_RUN=1 also builds and runs the native benchmark
# (never by default, as timings depend on the machine). QUORVEL_JOBS overrides the build
# parallelism (default 2).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

jobs=${QUORVEL_JOBS:-2}
# Only for tests that set no timeout of their own: a hung test must fail, not stall the run.
test_timeout=600
started=$SECONDS
stage="setup"
passed=()

elapsed() {
  local s=$((SECONDS - $1))
  printf '%dm%02ds' $((s / 60)) $((s % 60))
}

summary() {
  local rc=$?
  if ((rc == 0)); then
    echo "==> test.sh: PASSED (${passed[*]}) in $(elapsed "$started")"
  else
    echo "==> test.sh: FAILED at '$stage' (exit $rc) after $(elapsed "$started"); passed before: ${passed[*]:-none}" >&2
  fi
  exit "$rc"
}
trap summary EXIT

begin() {
  stage=$1
  echo
  echo "==> $stage"
}

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

begin "setup"
scripts/setup.sh
passed+=(setup)

begin "format and layers"
# The tree is formatted by the .clang-format at its root; a file that is not fails here.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
# The folders form one order, lowest first: a file includes its own folder and lower ones only,
# so no two folders depend on each other.
layers=(support config timezones display kinds events prefs app)
upward=0
for ((i = 0; i + 1 < ${#layers[@]}; i++)); do
  higher=$(IFS='|' && echo "${layers[*]:i+1}")
  if grep -rnE "#include \"($higher)/" "src/${layers[i]}" --include='*.cpp' --include='*.h'; then
    upward=1
  fi
done
if ((upward)); then
  echo "test.sh: the includes above reach into a higher folder (order: ${layers[*]})" >&2
  exit 1
fi
passed+=(format)

begin "asan: configure and build"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON "${launcher[@]}"
cmake --build build/asan -j "$jobs"
begin "asan: tests"
# --no-tests=error: an empty test list is a broken build, not a pass.
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1} \
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
  ctest --test-dir build/asan --output-on-failure --no-tests=error --timeout "$test_timeout" -j "$jobs"
passed+=(asan)

begin "tsan: the threaded tests"
cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_TSAN=ON "${launcher[@]}"
cmake --build build/tsan -j "$jobs" --target thread_tests
TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1} \
  ctest --test-dir build/tsan --output-on-failure --no-tests=error --timeout "$test_timeout"
passed+=(tsan)

begin "fuzz: build and run"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_FUZZ=ON \
  -DQUORVEL_SANITIZE=ON "${launcher[@]}"
cmake --build build/fuzz -j "$jobs"
fuzz_seconds=${QUORVEL_FUZZ_SECONDS:-15}
for target in format lng registry settings; do
  # A working copy of the kept inputs, so new finds stay out of the repository.
  corpus=build/fuzz/corpus-$target
  mkdir -p "$corpus"
  cp fuzz/corpus/$target/* "$corpus"/
  (cd build/fuzz && "fuzz/fuzz_$target" -max_total_time="$fuzz_seconds" -max_len=65536 \
    -print_final_stats=1 "corpus-$target" 2>&1 | tail -n 12)
done
passed+=(fuzz)

if [[ ${QUORVEL_BENCH_RUN:-0} == 1 ]]; then
  begin "benchmark"
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCH=ON "${launcher[@]}"
  cmake --build build/native -j "$jobs" --target quorvel_bench
  build/native/bench/quorvel_bench
  passed+=(benchmark)
fi

begin "mingw64: configure and build"
wine_bin=$(command -v wine)
cmake -S . -B build/mingw64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR="$wine_bin" "${launcher[@]}"
cmake --build build/mingw64 -j "$jobs"
passed+=(mingw64-build)

begin "mingw32: configure and build quorvel"
cmake -S . -B build/mingw32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
cmake --build build/mingw32 -j "$jobs" --target quorvel
passed+=(mingw32-build)

begin "mingw64: tests under Wine"
# A subshell owns the Wine environment, so its exit trap stops Xvfb and wineserver right after
# the tests and leaves this script's own trap alone. Tests that need the keyboard focus or the
# whole screen are marked to run alone.
(
  source scripts/wine-env.sh build/mingw64
  ctest --test-dir build/mingw64 --output-on-failure --no-tests=error --timeout "$test_timeout" -j "$jobs"
)
passed+=(wine)

begin "release: packaged twice, installed and removed under Wine"
# The release script reuses the two builds above. Its zips must not change between two runs.
version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
zips=("dist/Quorvel-$version-win64.zip" "dist/Quorvel-$version-win32.zip")
scripts/package.sh
first=$(sha256sum "${zips[@]}")
scripts/package.sh
if [[ $(sha256sum "${zips[@]}") != "$first" ]]; then
  echo "test.sh: two runs of package.sh gave different zips" >&2
  exit 1
fi
tests/e2e/install.sh "dist/Quorvel-$version-setup.exe" build/mingw64/tests/start_check.exe
passed+=(release)
