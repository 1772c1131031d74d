# shellcheck shell=bash
# Sourced by the Wine benchmarks, after scripts/wine-env.sh.
# store_clocks COUNT: replaces the stored settings with COUNT digital clocks showing seconds
# (default look, "&ldate;&br;&time -s;"), four to a row where the reference program puts its
# windows; with 0, no settings at all, so the first start makes the default clock.
store_clocks() {
  local count=$1 reg_file i
  reg_file=$(mktemp --suffix=.reg)
  {
    printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Quorvel II]\r\n\r\n'
    if ((count > 0)); then
      printf '[HKEY_CURRENT_USER\\Software\\Quorvel II]\r\n"AutoHide"=dword:00000000\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Quorvel II\\Displays]\r\n"Count"=dword:%08x\r\n"Primary"=dword:00000000\r\n\r\n' "$count"
      for ((i = 0; i < count; i++)); do
        printf '[HKEY_CURRENT_USER\\Software\\Quorvel II\\Displays\\%03d]\r\n' "$i"
        printf '@="2"\r\n"Text"="&ldate;&br;&time -s;"\r\n'
        printf '"Left"=dword:%08x\r\n"Top"=dword:%08x\r\n\r\n' $((40 + (i % 4) * 300)) $((40 + (i / 4) * 190))
      done
    fi
  } >"$reg_file"
  wine regedit /S "$(winepath -w "$reg_file")"
  rm -f "$reg_file"
}
