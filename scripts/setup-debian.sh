#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the project.
# Checks every package with dpkg first; touches apt only when something is
# missing. Without root it only reports what is missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev   # Qt 6 Widgets, its CMake config needs the GL headers
  googletest libgtest-dev libgmock-dev     # unit tests
  libbenchmark-dev                         # benchmarks
  libicu-dev                               # number format oracle (ICU DecimalFormat)
  clang libclang-rt-14-dev                 # fuzz targets (libFuzzer, sanitizers)
  xvfb xauth xdotool libxcb1-dev           # running the window on a virtual display
  valgrind                                 # memcheck of the real application
  fonts-dejavu-core fontconfig             # text renders with a real font, also offscreen
)

installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" = "install ok installed" ]
}

missing=()
for p in "${PACKAGES[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#PACKAGES[@]} packages are installed"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing Debian packages: ${missing[*]}" >&2
  echo "setup: run as root, or: sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
