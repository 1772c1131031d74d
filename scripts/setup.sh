#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Quorvel.
# Only missing packages are installed, so a second run returns at once without touching apt.
set -euo pipefail

packages=(
  cmake make g++ ccache clang clang-format libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 nsis
  xvfb x11-utils xauth xdotool imagemagick fonts-dejavu-core
)
# make is listed because cmake only recommends it and installs skip recommends.

# Whether the kernel runs 32-bit x86 programs (some are built without that support). Tried with
# the smallest such program: an ELF header, one segment and exit(0) through int 0x80.
runs_32bit_programs() {
  local probe rc
  probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'\
'\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00'\
'\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  rc=0
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  return "$rc"
}

# wine32 runs the 32-bit program and the installer, which is a 32-bit program itself. Where the
# kernel cannot run it, an installed wine32 only breaks the `wine` launcher, which prefers it.
if runs_32bit_programs; then
  packages+=(wine32:i386)
  wine32_unusable=0
else
  echo "setup.sh: this kernel does not run 32-bit programs: Wine runs 64-bit programs only"
  wine32_unusable=1
fi

# Prints the names among "$@" that are not fully installed, one query for all of them.
missing_packages() {
  local -A installed=()
  local name arch status
  # dpkg-query fails when a name is unknown but still lists the others.
  # A package counts under its name and under name:architecture.
  while read -r name arch status; do
    if [[ $status == "install ok installed" ]]; then
      installed[$name]=1
      installed[$name:$arch]=1
    fi
  done < <(dpkg-query -W -f='${Package} ${Architecture} ${Status}\n' "$@" 2>/dev/null || true)
  for name in "$@"; do
    if [[ -z ${installed[$name]:-} ]]; then
      echo "$name"
    fi
  done
}

mapfile -t missing < <(missing_packages "${packages[@]}")
unusable=()
if ((wine32_unusable)) && [[ -z $(missing_packages wine32:i386) ]]; then
  unusable=(wine32:i386)
fi

if ((${#missing[@]} == 0 && ${#unusable[@]} == 0)); then
  echo "setup.sh: all ${#packages[@]} packages present"
  exit 0
fi

# The variable goes through env because sudo resets the environment.
if [[ $(id -u) -eq 0 ]]; then
  as_root=(env)
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo env)
else
  echo "setup.sh: packages to change (${missing[*]} ${unusable[*]}) and neither root nor sudo is available" >&2
  exit 1
fi

if ((${#unusable[@]} > 0)); then
  echo "setup.sh: removing ${unusable[*]}, which this kernel cannot run"
  "${as_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get remove -y -q "${unusable[@]}" </dev/null
fi
if ((${#missing[@]} == 0)); then
  echo "setup.sh: done"
  exit 0
fi

echo "setup.sh: installing ${missing[*]}"

# Packages of another architecture (name:arch) need that architecture known to dpkg first.
for name in "${missing[@]}"; do
  if [[ $name == *:* ]] && ! dpkg --print-foreign-architectures | grep -qx "${name#*:}"; then
    "${as_root[@]}" dpkg --add-architecture "${name#*:}"
  fi
done

# No stdin in CI: apt and dpkg must never ask anything.
"${as_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold "${missing[@]}" </dev/null

# Catch a package that apt skipped without failing.
mapfile -t still_missing < <(missing_packages "${missing[@]}")
if ((${#still_missing[@]} > 0)); then
  echo "setup.sh: still not installed: ${still_missing[*]}" >&2
  exit 1
fi
echo "setup.sh: done"
