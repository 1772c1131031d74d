#!/usr/bin/env bash
# Installs the release under Wine as a user would, for all users and for one user, starts the
# installed program, and removes it again with the uninstaller the uninstall key names:
#   tests/e2e/install.sh dist/Quorvel-<version>-setup.exe <start_check.exe>
# Runs in a Wine prefix of its own, made fresh each time.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
setup=$(realpath "$1")
checker=$(realpath "$2")
version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
cd "$root"
rm -rf build/install-test
source scripts/wine-env.sh build/install-test
if [[ -z $QUORVEL_WINE32 ]]; then
  # The installer is a 32-bit program.
  echo "install.sh: NOT RUN: this machine's kernel does not run 32-bit programs"
  exit 0
fi

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Quorvel II'
failures=0

fail() {
  echo "install.sh: FAILED: $*" >&2
  failures=$((failures + 1))
}

# A value's data, or the exit status 1 when the key or value is missing.
reg_value() {
  local out
  out=$(wine reg query "$1" /v "$2" /reg:64 2>/dev/null | tr -d '\r') || return 1
  # reg.exe writes "    name    REG_TYPE    data".
  sed -nE "s/^ {4}$2 {4}REG_[A-Z_]+( {4}|$)//p" <<<"$out"
}

expect_value() {
  local got
  if ! got=$(reg_value "$1" "$2"); then
    fail "$1 has no value $2"
  elif [[ $got != "$3" ]]; then
    fail "$1 $2 is '$got', expected '$3'"
  fi
}

wait_until() {
  local i
  for ((i = 0; i < 120; i++)); do
    if eval "$1"; then return 0; fi
    sleep 0.5
  done
  return 1
}

# One install, use and removal. $1: the mode switch, $2: the hive of its uninstall key,
# $3: the language switch (empty for none), $4: the language the program should save,
# $5: the uninstaller's extra switches.
install_run_remove() {
  local mode=$1 hive=$2 language_switch=$3 saved=$4 uninstall_switches=$5
  echo "==> install.sh: setup.exe /S $mode $language_switch"
  wine "$setup" /S "$mode" $language_switch /StartWithWindows || fail "setup.exe $mode ended with $?"

  local key="$hive\\$uninstall_key" folder folder_unix quiet
  folder=$(reg_value "$key" InstallLocation) || { fail "no uninstall key in $hive"; return; }
  folder_unix=$(winepath -u "$folder")
  for file in quorvel.exe deutsch.lng help_en.htm help_de.htm README.txt uninstall.exe \
    Sounds/quarter.wav Sounds/hour.wav Sounds/alert.wav; do
    [[ -f "$folder_unix/$file" ]] || fail "$mode: $folder\\$file is missing"
  done
  expect_value "$key" DisplayName Quorvel
  expect_value "$key" DisplayVersion "$version"
  expect_value "$key" UninstallString "\"$folder\\uninstall.exe\" $mode"
  expect_value "$key" QuietUninstallString "\"$folder\\uninstall.exe\" /S $mode"
  expect_value "$key" DisplayIcon "\"$folder\\quorvel.exe\",0"
  [[ $(reg_value "$key" EstimatedSize) =~ ^0x[1-9a-f] ]] || fail "$mode: no EstimatedSize"
  expect_value "$run_key" Quorvel "\"$folder\\quorvel.exe\" /boot"
  local start_menu
  start_menu=$(winepath -u "$(wine cmd /c echo "%$([[ $mode == /AllUsers ]] && echo PROGRAMDATA || echo APPDATA)%" | tr -d '\r')")
  [[ -f "$start_menu/Microsoft/Windows/Start Menu/Programs/Quorvel.lnk" ]] ||
    fail "$mode: no Start-menu shortcut"

  # The installed program takes the installer's language at its first start and saves it.
  local checked
  checked=$(wine "$checker" "$folder\\quorvel.exe") || fail "$mode: the installed program: $checked"
  [[ $checked == *"saved language \"$saved\""* ]] || fail "$mode: $checked (expected $saved)"

  # The uninstaller closes a running Quorvel gently: it saves on its way out.
  wine "$folder\\quorvel.exe" &
  wait_until "wine reg query '$settings_key' /reg:64 >/dev/null 2>&1 && pgrep -f 'Quorvel.quorvel.exe' >/dev/null" ||
    fail "$mode: the installed program did not start"
  sleep 3
  wine reg delete "$settings_key" /v Language /f /reg:64 >/dev/null 2>&1 || true
  quiet=$(reg_value "$key" QuietUninstallString)
  local uninstaller=${quiet#\"}
  uninstaller=${uninstaller%%\"*}
  echo "==> install.sh: $quiet $uninstall_switches"
  # shellcheck disable=SC2086 # the switches are words
  wine "$uninstaller" ${quiet##*\" } $uninstall_switches || fail "$mode: uninstall.exe ended with $?"
  # The uninstaller runs on from a copy of itself; its work is done when the key is gone.
  wait_until "! wine reg query '$key' /reg:64 >/dev/null 2>&1 && [[ ! -e '$folder_unix' ]]" ||
    fail "$mode: the uninstaller left the key or the folder $folder"
  wait_until "! pgrep -f 'Quorvel.quorvel.exe' >/dev/null" || fail "$mode: Quorvel still runs"
  if [[ $uninstall_switches == *RemoveSettings* ]]; then
    wine reg query "$settings_key" /reg:64 >/dev/null 2>&1 && fail "$mode: the settings were kept"
  else
    expect_value "$settings_key" Language "$saved"
  fi
  reg_value "$run_key" Quorvel >/dev/null && fail "$mode: the start-up entry was kept"
  [[ -e "$start_menu/Microsoft/Windows/Start Menu/Programs/Quorvel.lnk" ]] &&
    fail "$mode: the Start-menu shortcut was kept"
  return 0
}

install_run_remove /AllUsers HKLM /Language=deutsch deutsch ""
[[ ! -e "$WINEPREFIX/drive_c/Program Files/Quorvel" ]] || fail "Program Files\\Quorvel is left"
install_run_remove /CurrentUser HKCU /Language=english english /RemoveSettings
[[ ! -e "$WINEPREFIX/drive_c/Program Files/Quorvel" ]] || fail "/CurrentUser wrote to Program Files"
wine reg query "HKLM\\$uninstall_key" /reg:64 >/dev/null 2>&1 && fail "/CurrentUser wrote the machine's key"

if ((failures > 0)); then
  echo "install.sh: $failures check(s) failed" >&2
  exit 1
fi
echo "install.sh: PASSED (all users and one user: installed, started, uninstalled)"
