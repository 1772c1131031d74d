#!/usr/bin/env bash
# The program runs from wherever a user unpacks it, next to whatever lies there. So it imports only
# DLLs that Windows takes from its own folders whatever the search order: its known DLLs, and the
# common controls through the side-by-side manifest. Other DLLs, and functions newer than Windows 7,
# it loads at run time from the system folder.
# Usage: check_imports.sh PROGRAM.exe OBJDUMP
set -euo pipefail
program=$1
objdump=$2

table=$("$objdump" -p "$program")
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$table" | tr '[:upper:]' '[:lower:]' | sort -u)
if [[ -z $dlls ]]; then
  echo "check_imports: no import table read from $program" >&2
  exit 1
fi
known='^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|oleaut32|shell32|shlwapi|user32)\.dll$'
status=0
if grep -vE "$known" <<<"$dlls"; then
  echo "check_imports: the DLLs above may be taken from the program's folder" >&2
  status=1
fi
# Functions of Windows 8 and later that a clock program reaches for.
newer='ForDpi|DpiFor|DpiAwareness|DpiFromDpi|NonClientDpiScaling|DefaultDllDirectories|DllDirectory|PreciseAsFileTime|MitigationPolicy|CreateFile2|GetCurrentPackage|PowerSettingRegisterNotification'
if grep -E "^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_0-9]*($newer)" <<<"$table"; then
  echo "check_imports: the functions above are newer than Windows 7" >&2
  status=1
fi
echo "imports: $(tr '\n' ' ' <<<"$dlls")"
exit $status
