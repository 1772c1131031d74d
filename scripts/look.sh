#!/usr/bin/env bash
# Takes a picture of every window of the program, as the layout test opens them, at a DPI:
#   scripts/look.sh [DPI] [FOLDER]    (defaults: 96, build/look)
# Pictures are PNG files named window-state-language-dpi.png. Windows get their frames drawn.
# Needs the Windows build (scripts/test.sh or scripts/run.sh builds it).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
dpi=${1:-96}
folder=$(mkdir -p "${2:-build/look}" && cd "${2:-build/look}" && pwd)
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh build/mingw64
frames='HKCU\Software\Wine\X11 Driver'
wine reg add "$frames" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
QUORVEL_EXIT_HOOKS+=("wine reg delete '$frames' /v Decorated /f >/dev/null 2>&1")
rm -f "$folder/request"
QUORVEL_LAYOUT_SHOTS="Z:${folder//\//\\}" tests/win/at_dpi.sh "$dpi" \
  build/mingw64/tests/app_tests.exe --gtest_filter='LayoutTest.*' >"$folder/layout-$dpi.txt" 2>&1 &
test_pid=$!
while kill -0 "$test_pid" 2>/dev/null; do
  if [[ -f $folder/request ]] && read -r name geometry <"$folder/request"; then
    import -display "$DISPLAY" -window root -crop "$geometry" +repage "$folder/$name.png" || true
    rm -f "$folder/request"
  fi
  sleep 0.05
done
wait "$test_pid" || true
echo "look.sh: $(ls "$folder"/*-"$dpi".png | wc -l) pictures in $folder; layout faults in $folder/layout-$dpi.txt"
