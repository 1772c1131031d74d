# shellcheck shell=bash
# Sourced, not run: `source scripts/wine-env.sh <build dir>`.
#
# Gives Wine a private prefix inside the build folder (created once, then reused), an X display
# (a virtual one when none is usable) and one persistent wineserver for the whole run, so each
# test does not pay for the server's start-up. Everything started here is stopped when the
# sourcing shell exits, and that shell's exit code is kept.
#
# This file takes over the EXIT, INT, TERM and HUP traps of the sourcing shell. A caller with exit
# work of its own appends it to QUORVEL_EXIT_HOOKS, or sources this file in a subshell.
# (An EXIT trap set earlier cannot be chained reliably: inside a subshell `trap -p` still shows
# the parent's trap, which is not in force there.)
#
# After sourcing:
#   QUORVEL_XVFB_PID      pid of the Xvfb started here, empty when an existing display is used
#   QUORVEL_EXIT_HOOKS    array of commands run on exit before Wine is stopped; append to it
#                         to end a program gently before the server kills what is left
#   QUORVEL_WINE32        1 when Wine runs 32-bit programs here, empty when the kernel cannot
#                         (scripts/setup.sh installs Wine's 32-bit support only where it can)

# Run as a program it would set everything up in a child shell and tear it down at once.
if ! (return 0 2>/dev/null); then
  echo "usage: source scripts/wine-env.sh <build dir>" >&2
  exit 2
fi

if [[ -n ${QUORVEL_WINE_ENV_ACTIVE:-} ]]; then
  return 0
fi

_qv_build_dir=${1:?usage: source scripts/wine-env.sh <build dir>}
mkdir -p "$_qv_build_dir"
_qv_build_dir=$(cd "$_qv_build_dir" && pwd)

export WINEPREFIX="$_qv_build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or browser add-on prompts; no menu entries written into the user's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

QUORVEL_XVFB_PID=""
QUORVEL_EXIT_HOOKS=()
_qv_wineserver_started=""

quorvel_wine_env_cleanup() {
  local rc=$?
  # A failing step here must neither stop the cleanup nor replace the caller's exit code.
  set +e
  trap - EXIT INT TERM HUP
  local hook
  for hook in "${QUORVEL_EXIT_HOOKS[@]}"; do
    eval "$hook"
  done
  if [[ -n $_qv_wineserver_started ]]; then
    wineserver -k >/dev/null 2>&1
    timeout 20 wineserver -w >/dev/null 2>&1
  fi
  if [[ -n $QUORVEL_XVFB_PID ]]; then
    kill "$QUORVEL_XVFB_PID" 2>/dev/null
    wait "$QUORVEL_XVFB_PID" 2>/dev/null
    QUORVEL_XVFB_PID=""
  fi
  exit "$rc"
}
trap quorvel_wine_env_cleanup EXIT
# Signals become an ordinary exit so the EXIT trap cleans up; codes follow the 128+n custom.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
QUORVEL_WINE_ENV_ACTIVE=1

_qv_display_usable() {
  [[ -n ${DISPLAY:-} ]] && timeout 10 xdpyinfo >/dev/null 2>&1
}

_qv_start_xvfb() {
  local n i log
  for ((n = 99; n < 200; n++)); do
    if [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; then
      continue
    fi
    log="$_qv_build_dir/xvfb.log"
    # -noreset: the server must not reset each time the last Wine client disconnects.
    # setsid: a Ctrl+C in the terminal must not take the display away before cleanup runs.
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$log" 2>&1 &
    QUORVEL_XVFB_PID=$!
    for ((i = 0; i < 100; i++)); do
      if ! kill -0 "$QUORVEL_XVFB_PID" 2>/dev/null; then
        break # another server took this number first, or Xvfb failed: try the next one
      fi
      # The lock file names the server that owns the display: one started at the same moment
      # elsewhere may have won it, and answers for this number while this one is ending.
      if [[ $(cat "/tmp/.X$n-lock" 2>/dev/null | tr -d ' ') == "$QUORVEL_XVFB_PID" ]] &&
        DISPLAY=":$n" timeout 10 xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        echo "wine-env: started Xvfb on $DISPLAY (pid $QUORVEL_XVFB_PID, 1280x1024x24)"
        return 0
      fi
      sleep 0.1
    done
    kill "$QUORVEL_XVFB_PID" 2>/dev/null || true
    wait "$QUORVEL_XVFB_PID" 2>/dev/null || true
    QUORVEL_XVFB_PID=""
  done
  echo "wine-env: could not start Xvfb; last log:" >&2
  cat "$log" >&2 2>/dev/null || true
  return 1
}

_qv_fail() {
  echo "wine-env: $*" >&2
  exit 1
}

if _qv_display_usable; then
  echo "wine-env: using display $DISPLAY"
else
  _qv_start_xvfb || _qv_fail "no X display"
fi

# Whatever still runs in this private prefix is left over from an interrupted run (a program
# holding its single-instance lock, a server that never ends): stop it before anything starts.
wineserver -k >/dev/null 2>&1 || true
timeout 20 wineserver -w >/dev/null 2>&1 || true

# The prefix counts as ready only once its creation has finished; a half-made one from an
# interrupted run is thrown away and made again. So is one made before Wine's 32-bit support
# was installed: it lacks the 32-bit system folder, and 32-bit programs cannot start in it.
_qv_wine_bits=64
QUORVEL_WINE32=""
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  _qv_wine_bits="32 and 64"
  QUORVEL_WINE32=1
fi
if [[ ! -f $WINEPREFIX/.quorvel-prefix-ready ||
  $(cat "$WINEPREFIX/.quorvel-prefix-ready") != "$_qv_wine_bits" ]]; then
  echo "wine-env: creating Wine prefix $WINEPREFIX (once per build folder)"
  _qv_started=$SECONDS
  rm -rf "$WINEPREFIX"
  timeout 300 wineboot -i || _qv_fail "wineboot -i failed for $WINEPREFIX"
  # Nothing may use the prefix before wineboot's background work is done.
  timeout 300 wineserver -w || _qv_fail "wineboot did not finish in $WINEPREFIX"
  echo "$_qv_wine_bits" >"$WINEPREFIX/.quorvel-prefix-ready"
  echo "wine-env: prefix ready in $((SECONDS - _qv_started)) s"
  unset _qv_started
else
  echo "wine-env: reusing Wine prefix $WINEPREFIX"
fi

# One server for the whole run; -p without a number keeps it until `wineserver -k`.
_qv_wineserver_started=1
wineserver -p || _qv_fail "could not start a persistent wineserver"
# Start Wine's service processes now, detached from any pipe. Otherwise the first test starts
# them, they inherit its output pipe and live as long as the server, and CTest waits for that
# pipe to close until the test times out.
timeout 120 wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || _qv_fail "Wine does not start programs"
