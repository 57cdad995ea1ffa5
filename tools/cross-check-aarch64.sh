#!/usr/bin/env bash
# Builds the core and veltrano-cli for 64-bit ARM with Debian's cross
# compiler, runs the core and equations tests under qemu-user, and compares
# the tool's outputs there with the native build's, byte for byte: the
# catalogue's Lorenz and typed equations (which run interpreted there: no
# JIT for the target, VELTRANO_JIT is OFF). It also counts where the two C
# libraries' sin, cos, exp, log, ... differ, which typed texts call.
#   tools/cross-check-aarch64.sh
# Needs g++-aarch64-linux-gnu qemu-user and, from Debian's multiarch
# (dpkg --add-architecture arm64), libssl-dev:arm64 for the text's SHA-256.
# Takes a quarter of an hour or more: the tests run emulated, typed flows
# interpreted there.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in aarch64-linux-gnu-g++ qemu-aarch64; do
  command -v $tool > /dev/null || { echo "$tool is missing: apt-get install g++-aarch64-linux-gnu qemu-user"; exit 2; }
done
native=build/core arm=build/aarch64
cmake --preset core > /dev/null && cmake --build --preset core --target veltrano-cli > /dev/null
cmake -S . -B $arm -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release \
  -DVELTRANO_WITH_QT=OFF -DVELTRANO_PYTHON=OFF -DVELTRANO_WERROR=ON > /dev/null
cmake --build $arm -j2 --target veltrano-cli core_tests equations_tests > /dev/null
run_arm() { qemu-aarch64 -L /usr/aarch64-linux-gnu "$@"; }

echo "== core tests on aarch64 (emulated)"
run_arm $arm/tests/core_tests --gtest_brief=1 | tail -3
echo "== equations tests on aarch64 (emulated)"
run_arm $arm/tests/equations_tests --gtest_brief=1 | tail -3

# Typed texts: two flows of the catalogue, one of + - * / and whole powers
# only, one calling sin and exp.
texts=$(mktemp -d)
trap 'rm -rf "$texts"' EXIT
cat > "$texts/lorenz.txt" <<'TEXT'
x' = sigma*(y - x)
y' = x*(R - z) - y
z' = x*y - b*z
sigma = 10; R = 28; b = 2.6667
x(0) = 1; y(0) = 1; z(0) = 1
TEXT
cat > "$texts/rossler.txt" <<'TEXT'
x' = -y - z
y' = x + a*y
z' = b + z*(x - c)
a = 0.2; b = 0.2; c = 5.7
x(0) = 1; y(0) = 1; z(0) = 1
TEXT
cat > "$texts/halvorsen.txt" <<'TEXT'
x' = -a*x - 4*y - 4*z - y^2/c
y' = -a*y - 4*z - 4*x - z^2/c
z' = -a*z - 4*x - 4*y - x^2/c
a = 1.27; c = 1
x(0) = -5; y(0) = 0; z(0) = 0
TEXT
cat > "$texts/functions.txt" <<'TEXT'
x' = sin(y) - a*x
y' = sin(z) - a*y
z' = sin(x) - a*z*exp(-z^2/1000)
a = 0.208186
x(0) = 0.1; y(0) = 0; z(0) = -0.1
TEXT

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
--precise --equations $texts/lorenz.txt 2000
history --every 500 --equations $texts/lorenz.txt 2000 R=280
sweep --equations $texts/lorenz.txt --vary R=0:250:8 500
--precise --equations $texts/rossler.txt 2000
history --every 500 --equations $texts/rossler.txt 2000 c=5.7
sweep --equations $texts/rossler.txt --vary a=0.1:0.3:4 --vary c=4:8:2 500
--precise --equations $texts/halvorsen.txt 2000
history --every 500 --equations $texts/halvorsen.txt 2000
sweep --equations $texts/halvorsen.txt --vary a=1.2:1.4:8 500
--precise --equations $texts/functions.txt 2000
history --every 500 --equations $texts/functions.txt 2000
sweep --equations $texts/functions.txt --vary a=0.15:0.25:8 500
RUNS
echo "$same same, $differ different"

# The C library's functions as typed texts call them, on a grid of
# arguments: results whose bits differ between the two machines.
cat > "$texts/functions.c" <<'TEXT'
#include <math.h>
#include <stdio.h>
#include <string.h>
typedef double (*F)(double);
int main(void) {
    const char* names[] = {"sin", "cos", "tan", "asin", "acos", "atan", "sinh", "cosh", "tanh", "exp", "log", "sqrt"};
    const F f[] = {sin, cos, tan, asin, acos, atan, sinh, cosh, tanh, exp, log, sqrt};
    for (int i = 0; i < 12; ++i)
        for (long j = 1; j <= 200000; ++j) {
            double x = (i == 10 || i == 11 ? 1 : j % 2 ? 1 : -1) * (double)j * (i == 3 || i == 4 ? 5e-6 : 1.000003e-4);
            unsigned long long b;
            double y = f[i](x);
            memcpy(&b, &y, sizeof b);
            printf("%s %llx\n", names[i], b);
        }
    return 0;
}
TEXT
gcc -O2 -fno-builtin -o "$texts/native" "$texts/functions.c" -lm
aarch64-linux-gnu-gcc -O2 -fno-builtin -o "$texts/arm" "$texts/functions.c" -lm
echo "== C library functions, aarch64 against $(uname -m): arguments whose results differ (of 200000 each)"
paste -d' ' <("$texts/native") <(run_arm "$texts/arm") |
  awk '{ seen[$1] = 1 } $2 != $4 { n[$1]++ } END { for (f in seen) printf "%s %d, ", f, n[f] + 0; print "" }'
[ $differ = 0 ]
