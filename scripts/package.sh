#!/usr/bin/env bash
# Makes the release from this checkout:
#   scripts/package.sh
# builds the 64-bit and the 32-bit program, starts each once under Wine (main window, tray icon,
# closed with its settings saved), and only then writes under dist/:
#   Quorvel-<version>-win64.zip, Quorvel-<version>-win32.zip   a folder Quorvel\ to unpack anywhere
#   Quorvel-<version>-setup.exe                                the installer (both programs)
# The version comes from the project line of CMakeLists.txt. Two runs from one commit give
# byte-identical zips. QUORVEL_JOBS sets the build parallelism (default 2).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=${QUORVEL_JOBS:-2}

scripts/setup.sh

version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
if [[ ! $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "package.sh: no four-part version on the project line of CMakeLists.txt" >&2
  exit 1
fi

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The same build folders and options as the test command, so a release after the tests
# compiles nothing again.
echo "==> package.sh: building Quorvel $version"
cmake -S . -B build/mingw64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v wine)" "${launcher[@]}" >/dev/null
cmake --build build/mingw64 -j "$jobs" --target quorvel start_check
cmake -S . -B build/mingw32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build build/mingw32 -j "$jobs" --target quorvel

stage=build/package
rm -rf "$stage/win64" "$stage/win32" "$stage/lists"
mkdir -p "$stage/lists" dist

# The commit's time stands for "now" wherever a time is written: in the stripped programs'
# headers (strip honours SOURCE_DATE_EPOCH) and in the zip entries.
epoch=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)

# One Quorvel folder per architecture: what the zip holds and the installer installs.
# Line ends of the user's README are Windows' own, for the Notepad of older Windows.
make_folder() {
  local arch=$1 build=$2 triple=$3 folder="$stage/$1/Quorvel"
  mkdir -p "$folder/Sounds"
  SOURCE_DATE_EPOCH=$epoch "$triple-strip" -o "$folder/quorvel.exe" "$build/src/quorvel.exe"
  cp src/resources/deutsch.lng src/help/help_en.htm src/help/help_de.htm "$folder/"
  cp src/resources/sounds/*.wav "$folder/Sounds/"
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' release/README.txt >"$folder/README.txt"
}
make_folder win64 build/mingw64 x86_64-w64-mingw32
make_folder win32 build/mingw32 i686-w64-mingw32

# A program that was never started is not released. A prefix of its own: the first start is
# a real first start, and the 32-bit program runs through Wine's 32-bit support.
echo "==> package.sh: starting each packaged program under Wine"
(
  source scripts/wine-env.sh "$stage"
  for arch in win64 win32; do
    if [[ $arch == win32 && -z $QUORVEL_WINE32 ]]; then
      echo "package.sh: NOT STARTED: win32, as this machine's kernel does not run 32-bit programs"
      continue
    fi
    echo "package.sh: $arch"
    wine build/mingw64/tests/start_check.exe "$(winepath -w "$stage/$arch/Quorvel/quorvel.exe")"
  done
)

# Everything but the program itself is the same in both folders; the installer's lists of
# what it installs and removes are made from the 64-bit folder.
(
  cd "$stage/win64/Quorvel"
  find . -type f ! -name quorvel.exe | LC_ALL=C sort | while read -r file; do
    file=${file#./}
    dir=$(dirname "$file")
    if [[ $dir == . ]]; then
      echo "SetOutPath \"\$INSTDIR\""
    else
      echo "SetOutPath \"\$INSTDIR\\${dir//\//\\}\""
    fi
    echo "File \"\${STAGE64}/$file\""
  done
) >"$stage/lists/install_files.nsh"
(
  cd "$stage/win64/Quorvel"
  find . -type f | LC_ALL=C sort | sed 's#^\./##; s#/#\\#g; s#.*#Delete "$INSTDIR\\&"#'
  find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's#^\./##; s#/#\\#g; s#.*#RMDir "$INSTDIR\\&"#'
) >"$stage/lists/uninstall_files.nsh"

# Zips that do not depend on when or by whom they were made: the commit's time for every
# entry, a fixed order and fixed permissions.
for arch in win64 win32; do
  archive="dist/Quorvel-$version-$arch.zip"
  python3 - "$stage/$arch" "$archive" "$epoch" <<'PY'
import os, sys, time, zipfile
base, archive, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot hold a time before 1980
entries = []
for folder, dirs, files in os.walk(base):
    for name in dirs:
        entries.append(os.path.relpath(os.path.join(folder, name), base) + "/")
    for name in files:
        entries.append(os.path.relpath(os.path.join(folder, name), base))
with zipfile.ZipFile(archive + ".tmp", "w") as z:
    for entry in sorted(entries):
        info = zipfile.ZipInfo(entry.replace(os.sep, "/"), stamp)
        info.create_system = 0  # MS-DOS attributes, as Windows writes them
        if entry.endswith("/"):
            info.external_attr = 0x10  # directory
            z.writestr(info, b"")
        else:
            info.external_attr = 0x20  # archive
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(base, entry), "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
os.replace(archive + ".tmp", archive)
PY
done

setup="dist/Quorvel-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE64="$root/$stage/win64/Quorvel" \
  -DSTAGE32="$root/$stage/win32/Quorvel" -DFILES="$root/$stage/lists" \
  -DICON="$root/src/resources/trayicon.ico" -DOUTFILE="$root/$setup" release/quorvel.nsi

echo "==> package.sh: Quorvel $version"
for file in "$stage/win64/Quorvel/quorvel.exe" "$stage/win32/Quorvel/quorvel.exe" \
  "dist/Quorvel-$version-win64.zip" "dist/Quorvel-$version-win32.zip" "$setup"; do
  printf '%10d bytes  %s\n' "$(stat -c %s "$file")" "$file"
done
