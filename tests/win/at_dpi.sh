#!/usr/bin/env bash
# Runs a Windows program under Wine with the screen at another DPI, and puts the DPI back after.
# usage: at_dpi.sh DPI PROGRAM [ARGUMENTS...]   (in the environment of scripts/wine-env.sh)
set -euo pipefail
dpi=$1
shift
key='HKCU\Control Panel\Desktop'
set_dpi() {
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
wine "$@"
