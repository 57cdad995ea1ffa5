#!/usr/bin/env bash
# Installs what building, running and testing Veltrano needs on Debian 12.
# Run as root; installs only what is missing.
#   setup-debian.sh           all of it
#   setup-debian.sh --build   what building and running need
#   setup-debian.sh --tests   the tests' own tools (run-checks.sh installs
#                             these beside the builds, which do not use them)
# The measuring tools (a virtual display, for the Explorer's screenshots
# and the start-up measurement) come only with all of it: no test uses them.
set -euo pipefail

build=(
  cmake g++ make ninja-build
  qt6-base-dev                      # Qt 6 Widgets and Qt Test
  qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libxkbcommon-dev  # the command-line tool's plots
  qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools  # the Explorer's translations (Qt Linguist: lupdate, lrelease)
  libcli11-dev                      # the command-line tool's parser
  libgccjit-12-dev gcc-12 binutils libssl-dev  # typed equations: compiled at run time (GCC's JIT, which runs the
                                        # driver, assembler and linker), keyed by the text's SHA-256 (OpenSSL)
  libgtest-dev libbenchmark-dev     # tests and benchmark
  libboost-dev libboost-math-dev    # Boost.Odeint, the benchmark's peer; Boost.Math, the Student quantile
  fonts-liberation fonts-dejavu-core  # sans-serif faces with the Greek letters
  help2man                          # the manual page
  pybind11-dev python3-dev python3-numpy  # the Python module
)
tests=(
  dpkg-dev file                     # the packages' dependencies
  desktop-file-utils appstream lintian  # checks of the desktop entry, the metainfo and the packages
  python3-pytest                    # the Python module's tests
  python3-matplotlib python3-distributed  # the Python examples (a map, a Dask cluster)
)
measuring=(
  xvfb xauth xdotool                # xvfb-run: tools/explorer-screenshots.sh, bench/startup.sh
)

case "${1:-}" in
  "")      packages=("${build[@]}" "${tests[@]}" "${measuring[@]}") ;;
  --build) packages=("${build[@]}") ;;
  --tests) packages=("${tests[@]}") ;;
  *) echo "usage: setup-debian.sh [--build | --tests]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
