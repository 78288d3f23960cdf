#!/usr/bin/env bash
# Installs the Debian 12 packages of the peer benchmarks (`make bench-peers`):
# Qt Charts for Qt 6, and QCustomPlot and Qwt, which Debian builds against
# Qt 5. Checks every package with dpkg first; touches apt only when something
# is missing. Without root it only reports what is missing. The project's
# main setup (scripts/setup-debian.sh) does not install these.
set -euo pipefail

PACKAGES=(
  qt6-charts-dev libqt6opengl6-dev   # Qt Charts; its CMake package needs Qt 6 OpenGL
  qtbase5-dev                        # Qt 5 Widgets for the second benchmark program
  libqcustomplot-dev                 # QCustomPlot (Qt 5)
  libqwt-qt5-dev                     # Qwt (Qt 5)
  libbenchmark-dev                   # Google Benchmark, linked by both programs
  python3                            # scripts/bench-peers.py
)

source "$(dirname "${BASH_SOURCE[0]}")/lib/install-packages.sh"
install_packages setup-bench-peers "${PACKAGES[@]}"
