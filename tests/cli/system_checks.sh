#!/usr/bin/env bash
# The catalogue of flows from the command line: its listing and
# descriptions, one run of a flow by name (Lorenz by name gives the very
# doubles of the Lorenz form), and the refusals of its entries.
#   system_checks.sh <veltrano-cli>
set -u
source "$(dirname "$0")/checks.sh"

# Every flow listed once with its defaults; each described with equations
# the equations reader takes, its start and its source.
run systems
names=$(tail -n +2 out.txt | cut -d' ' -f1)
expect "sixteen flows, lorenz first" '[ $status = 0 ] && [ $(echo "$names" | sort -u | wc -l) = 16 ] && [ "$(echo "$names" | head -1)" = lorenz ]'
expect "defaults listed" 'grep -qE "^rossler +3 +a=0\.2 b=0\.2 c=5\.7 " out.txt && grep -qE "^lorenz96 +5 \(4-64\) +F=8 " out.txt'
for name in $names; do
  run systems "$name"
  expect "$name described" '[ $status = 0 ] && grep -q "^# Equations:" out.txt && grep -q "^# Source: ." out.txt && "$cli" systems --check out.txt > /dev/null && grep -q "(0) = " out.txt'
done
run systems lorenz96 --dimension 7
expect "lorenz96 at 7" '[ $status = 0 ] && grep -qF "x7'"'"' = (x1 - x5)*x6 - x7 + F" out.txt && ! grep -q "x8" out.txt'

# Lorenz by name: the same doubles as the Lorenz form, the parameters in any
# order; the others as their published spectra say, the k asked for.
run --precise 500 10 28 2.6666666666666665
grep -v seconds out.txt > plain.txt
for args in "--system lorenz --precise 500" "--system=lorenz --precise 500 b=2.6666666666666665 R=28"; do
  run "$args"
  expect "$args: as the Lorenz form" '[ $status = 0 ] && diff -q plain.txt <(grep -v seconds out.txt) > /dev/null'
done
outputs <<'TABLE'
rossler|--system rossler 5000 c=5.7|0|^t 1000;lambda1 0\.07[0-9]*;lambda2 0\.000[0-9];lambda3 -5\.40[0-9]*;seconds [0-9.]+;$|^$
two leading|--system lorenz96 --dimension 8 --exponents 2 500|0|^t 100;lambda1 1\.[0-9]+;lambda2 0\.[0-9]+;seconds [0-9.]+;$|^$
leading zeros, as N may have|--system lorenz96 --dimension 00000000008 --exponents 00000000002 00000000000500|0|^t 100;lambda1 1\.[0-9]+;lambda2 0\.[0-9]+;seconds [0-9.]+;$|^$
overflow|--system rossler 100 c=-100000000000000000000|3|^t [0-9.]+;lambda1 \?;lambda2 \?;lambda3 \?;$|arithmetic error
TABLE

lines=1 refusals <<'TABLE'
no N|--system rossler|N is missing
N before nothing|--system rossler a=1|N is missing
N zero|--system rossler 0|N 0: Valore Errato
N too large|--system rossler 1000000001|N 1000000001: Deve essere N <= 1000000000
twice|--system rossler 10 a=1 a=2|the parameter a is given twice
unknown parameter|--system rossler 10 sigma=1|'sigma' is not a parameter of rossler: the parameters of rossler are a, b, c
no parameters|--system sprott-b 10 a=1|sprott-b has no parameters
not NAME=VALUE|--system rossler 10 5|'5' is not NAME=VALUE
empty value|--system rossler 10 a=|a= has no value
exponent form|--system rossler 10 a=1e3|a=1e3: the value must be a decimal number
beyond the doubles|--system rossler 10 c=1$(printf '%0400d' 0)|the value must be a decimal number (digits, at most one point, a leading minus, no exponent) within the range of doubles
an option after N|--system rossler 10 a=1 --precise|'--precise' stands after N: the options of the one run stand before N
a lone minus|--system rossler 10 a=-|a=-: the value must be a decimal number
a lone point|--system rossler 10 b=.|b=.: the value must be a decimal number
a start without digits|--system rossler --initial -,.,-. 10|--initial -,.,-.: expected 3 finite numbers
unknown system|--system nope 10|there is no system 'nope': the catalogue has lorenz, rossler
empty system|--system= 10|--system has an empty value
system twice|--system rossler --system chen 10|--system is given twice
k zero|--system rossler --exponents 0 10|--exponents 0: K must be a whole number from 1 to 3
k above d|--system rossler --exponents 4 10|--exponents 4: K must be a whole number from 1 to 3
fixed dimension|--system rossler --dimension 4 10|rossler has the fixed dimension 3
dimension too large|--system lorenz96 --dimension 65 10|the dimension of lorenz96 must be a whole number from 4 to 64
dimension not whole|--system lorenz96 --dimension 4.5 10|the dimension of lorenz96 must be a whole number from 4 to 64
unknown option|--system rossler --step 0.1 10|unknown option --step
describe unknown|systems nope|there is no system 'nope'
dimension without a flow|systems --dimension 5|give its NAME as well
describe an empty name|systems ""|NAME is empty
TABLE
finish
