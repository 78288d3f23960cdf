#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the project.
# Checks every package with dpkg first; touches apt only when something is
# missing. Without root it only reports what is missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev   # Qt 6 Widgets, its CMake config needs the GL headers
  qt6-svg-dev                              # SVG export (QSvgGenerator) and its tests (QSvgRenderer)
  poppler-utils                            # PDF export tests read the page count and render the page
  qt6-declarative-dev                      # the Qt Quick item (Qt Quick, QML)
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript  # QML imports of the Quick example and its test
  googletest libgtest-dev libgmock-dev     # unit tests
  libbenchmark-dev                         # benchmarks
  libicu-dev                               # number format oracle (ICU DecimalFormat)
  clang libclang-rt-14-dev                 # fuzz targets (libFuzzer, sanitizers)
  xvfb xauth xdotool libxcb1-dev           # running the window on a virtual display
  valgrind                                 # memcheck of the real application
  fonts-dejavu-core fontconfig             # text renders with a real font, also offscreen
)

source "$(dirname "${BASH_SOURCE[0]}")/lib/install-packages.sh"
install_packages setup "${PACKAGES[@]}"
