#!/usr/bin/env bash
# Builds the core and veltrano-cli for 64-bit ARM with Debian's cross
# compiler, runs the core tests under qemu-user, and compares the tool's
# outputs there with the native build's, byte for byte.
#   tools/cross-check-aarch64.sh        (needs g++-aarch64-linux-gnu qemu-user)
# Takes a few minutes: the tests run emulated.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in aarch64-linux-gnu-g++ qemu-aarch64; do
  command -v $tool > /dev/null || { echo "$tool is missing: apt-get install g++-aarch64-linux-gnu qemu-user"; exit 2; }
done
native=build/core arm=build/aarch64
cmake --preset core > /dev/null && cmake --build --preset core > /dev/null
cmake -S . -B $arm -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release \
  -DVELTRANO_WITH_QT=OFF -DVELTRANO_PYTHON=OFF -DVELTRANO_WERROR=ON > /dev/null
cmake --build $arm -j2 > /dev/null
run_arm() { qemu-aarch64 -L /usr/aarch64-linux-gnu "$@"; }

echo "== core tests on aarch64 (emulated)"
run_arm $arm/tests/core_tests --gtest_brief=1 | tail -3

echo "== the tool's outputs, aarch64 against $(uname -m)"
same=0 differ=0
while IFS= read -r args; do
  eval "set -- $args"
  a=$("$native/cli/veltrano-cli" "$@" 2>&1 | grep -v '^seconds' || true)
  b=$(run_arm "$arm/cli/veltrano-cli" "$@" 2>&1 | grep -v '^seconds' || true)
  if [ "$a" = "$b" ]; then
    same=$((same + 1))
    echo "same ($(printf '%s' "$a" | wc -l) lines): veltrano-cli $args"
  else
    differ=$((differ + 1))
    echo "DIFFERENT: veltrano-cli $args"
    diff <(printf '%s\n' "$a") <(printf '%s\n' "$b") | head -5
  fi
done <<'RUNS'
--precise 9999 10 28 2.6667
--precise 100 1e3 28 2.6667
--precise 50 10 0.5 2.6667
history --every 500 9999 10 28 2.6667
history 9999 280 28 2.6667
sweep --vary R=0:250:200 2000 10 28 2.6667
sweep --vary sigma=150:400:24 --vary b=-3:4:8 300 10 28 2.6667
sweep --vary R=-50:400:64 --threads 3 500 10 28 2.6667
sweep --vary R=20:250:12 --target-error 0.05 --batch 100 30000 10 28 2.6667
sweep --vary R=0:100:16 --transient 300 --initial -3,2,25 --step 0.005 --steps-per-interval 7 --errors --batch 20 800 10 28 2.6667
history --errors --batch 50 --every 100 3000 10 28 2.6667
RUNS
echo "$same same, $differ different"
[ $differ = 0 ]
