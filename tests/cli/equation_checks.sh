#!/usr/bin/env bash
# Typed equations from the command line: systems --check prints the system
# read or the first error under its line; --equations runs a typed flow
# (Lorenz typed in the built-in's order gives the built-in's t to the bit,
# a catalogue flow typed from its own description its exponents); files and
# standard input alike; history, sweep and join of typed equations are
# those of --system but for the field system, equations:<SHA-256 of the
# text>, and refuse a file of other equations or of a catalogue flow (as
# plot --equations does);
# refusals with status 2.
#   equation_checks.sh <veltrano-cli> [plots: 1 (default) or 0]
set -u
source "$(dirname "$0")/checks.sh"
plots=${2:-1}

printf "x' = sigma*(y - x)\ny' = R*x - y - x*z  # Lorenz\nz' = -b*z + x*y\nsigma = 10; R = 28; b = 8/3\n" > lorenz.txt
run systems --check lorenz.txt
expect "check: the system read" '[ $status = 0 ] && grep -q "^# 3 variables, 3 parameters; SHA-256 of the text [0-9a-f]\{64\}$" out.txt && grep -qxF "b = 2.6666666666666665" out.txt && grep -qxF "z(0) = 1" out.txt'
run systems --check - < lorenz.txt
expect "check: standard input" '[ $status = 0 ] && grep -qxF "y'"'"' = R*x - y - x*z" out.txt'
printf "x' = 1\ny' = x +* 2\n" > bad.txt
run systems --check bad.txt
expect "check: the error under its line" '[ $status = 2 ] && [ ! -s out.txt ] && [ "$(sed -n 1p err.txt)" = "veltrano-cli systems --check: bad.txt, line 2, column 9: expected a number, a name or '"'"'('"'"', found '"'"'*'"'"'" ] && [ "$(sed -n 3p err.txt)" = "          ^" ]'
{ echo "x' = -x"; head -c $((1048576 - 8)) /dev/zero | tr '\0' '#'; } > full.txt
run systems --check full.txt
expect "check: a text of 1 MiB is read" '[ $status = 0 ]'
printf '#' >> full.txt
run systems --check full.txt
expect "check: a byte more is refused" '[ $status = 2 ] && grep -qF "full.txt is longer than 1024 KiB" err.txt'

run --system lorenz --precise 2000
grep -v seconds out.txt > builtin.txt
run --equations lorenz.txt --precise 2000
expect "typed Lorenz: the built-in's t" '[ $status = 0 ] && [ "$(head -1 out.txt)" = "$(head -1 builtin.txt)" ]'
run --equations - --precise 2000 R=28 < lorenz.txt
expect "typed Lorenz from standard input" '[ $status = 0 ] && [ "$(head -1 out.txt)" = "$(head -1 builtin.txt)" ]'
"$cli" systems rossler > rossler.txt
run --system rossler --precise 3000 c=5.3
grep -v seconds out.txt > builtin.txt
run --equations rossler.txt --precise 3000 c=5.3
expect "Rossler typed from its description" '[ $status = 0 ] && diff -q builtin.txt <(grep -v seconds out.txt) > /dev/null'

# The files of typed Rossler: the built-in's rows to the bit, but for the field system.
digest=$(sha256sum < rossler.txt | cut -c1-64)
other=$(sed 's/c = 5.7/c = 5.3/' rossler.txt | tee other.txt | sha256sum | cut -c1-64)
grid="--vary a=0.1:0.3:3 --vary c=4:8:2"
without_system() { cut -d, -f1,3- "$1"; }
while IFS='|' read -r what args; do
  rm -f builtin.csv typed.csv
  run "${args/FLOW/--system rossler} --output builtin.csv"
  run "${args/FLOW/--equations -} --output typed.csv < rossler.txt"
  expect "$what: the built-in's rows" '[ $status = 0 ] && [ -s typed.csv ] && diff -q <(without_system builtin.csv) <(without_system typed.csv) > /dev/null'
  expect "$what: system is equations: and the sha256sum of the text" \
    '[ "$(sed 1d typed.csv | cut -d, -f2 | sort -u)" = "equations:$digest" ]'
done <<'TABLE'
history|history FLOW --every 50 --errors --batch 10 200 a=0.25
sweep|sweep FLOW $grid --exponents 2 300 b=0.3
TABLE
cp typed.csv whole.csv
head -3 whole.csv > cut.csv
run sweep --equations rossler.txt $grid --exponents 2 --resume --output cut.csv 300 b=0.3
expect "a cut file resumed is the whole sweep" '[ $status = 0 ] && cmp -s cut.csv whole.csv'
for k in 1 2; do run sweep --equations rossler.txt $grid --exponents 2 --shard $k/2 --output part$k.csv 300 b=0.3; done
run join --equations rossler.txt $grid --exponents 2 --shards 2 --input "part{K}.csv" --output joined.csv 300 b=0.3
expect "shards joined are the whole sweep" '[ $status = 0 ] && cmp -s joined.csv whole.csv'
kept=$(sum whole.csv)
while IFS='|' read -r what args message; do
  rm -f mixed.csv
  run "$args"
  expect "$what: refused naming both, the file kept" \
    '[ $status = 2 ] && grep -qF -- "$message" err.txt && [ "$(sum whole.csv)" = "$kept" ] && [ ! -e mixed.csv ]'
done <<TABLE
resume with other equations|sweep --equations other.txt $grid --exponents 2 --resume --output whole.csv 300 b=0.3|row 0 is of equations:$digest; this sweep is of equations:$other
resume as rossler|sweep --system rossler $grid --exponents 2 --resume --output whole.csv 300 b=0.3|row 0 is of equations:$digest; this sweep is of rossler
join with other equations|join --equations other.txt $grid --exponents 2 --shards 2 --input part{K}.csv --output mixed.csv 300 b=0.3|row 0 is of equations:$digest; this sweep is of equations:$other
resume of rossler's file|sweep --equations rossler.txt $grid --exponents 2 --resume --output builtin.csv 300 b=0.3|this sweep is of equations:$digest
TABLE
if [ "$plots" = 1 ]; then
  run plot whole.csv map.svg
  expect "plot draws typed equations' map, titled 'your equations'" '[ $status = 0 ] && grep -qF "your equations" map.svg'
  sed "s/equations:$digest/equations:${digest^^}/" whole.csv > upper.csv
  run plot upper.csv upper.svg
  expect "plot refuses a digest not in lower-case hexadecimal" '[ $status = 2 ] && [ ! -e upper.svg ]'
  run plot --equations rossler.txt whole.csv same.svg
  expect "plot --equations of the file's own equations draws the same map" '[ $status = 0 ] && cmp -s same.svg map.svg'
  "$cli" history --equations other.txt --output other-history.csv 100 > /dev/null
  "$cli" history 100 10 28 2.6666666666666665 > lorenz-history.csv
  while IFS='|' read -r what args message; do
    rm -f p.svg
    run "$args"
    expect "$what: refused naming both, nothing drawn" '[ $status = 2 ] && grep -qF -- "$message" err.txt && [ ! -e p.svg ]'
  done <<TABLE
plot of other equations' sweep|plot --equations other.txt whole.csv p.svg|whole.csv is a sweep of equations:$digest; the equations of other.txt are equations:$other
plot of other equations' history|plot --equations rossler.txt other-history.csv p.svg|other-history.csv is a history of equations:$other; the equations of rossler.txt are equations:$digest
plot of rossler's sweep|plot --equations rossler.txt builtin.csv p.svg|builtin.csv is a sweep of rossler; the equations of rossler.txt are equations:$digest
plot of a Lorenz history|plot --equations rossler.txt lorenz-history.csv p.svg|lorenz-history.csv is a history of Lorenz in the form without --system; the equations of rossler.txt are
TABLE
fi

lines=4 refusals <<'TABLE'
error in the file|--equations bad.txt 10|bad.txt, line 2, column 9: expected a number
error on standard input|--equations - 10 < bad.txt|standard input, line 2, column 9: expected a number
no file|--equations missing.txt 10|cannot open missing.txt
a folder|--equations . 10|cannot read .
no N|--equations lorenz.txt|N is missing
unknown parameter|--equations lorenz.txt 10 a=1|'a' is not a parameter of the typed system: the parameters of the typed system are sigma, R, b
k above d|--equations lorenz.txt --exponents 4 10|--exponents 4: K must be a whole number from 1 to 3
file twice|--equations lorenz.txt --equations lorenz.txt 10|--equations is given twice
a dimension|--equations lorenz.txt --dimension 3 10|--dimension is for a flow of the catalogue
a start of two|--equations lorenz.txt --initial 1,2 10|--initial 1,2: expected 3 finite numbers
check with a name|systems lorenz --check lorenz.txt|--check reads a file of equations
sweep of two flows|sweep --equations lorenz.txt --system lorenz --output out.csv 10|--system and --equations exclude each other
history with a dimension|history --equations lorenz.txt --dimension 3 --output out.csv 10|--dimension is for a flow of the catalogue
history of a bad file|history --equations bad.txt --output out.csv 10|bad.txt, line 2, column 9: expected a number
sweep of an unknown parameter|sweep --equations lorenz.txt --vary a=1:2:3 --output out.csv 10|'a' is not a parameter of equations:
TABLE

# Without GCC's driver on the search path: a message and no file, never the
# process ended by the compiler or an abort.
for form in "history --output out.csv" "sweep --vary sigma=5:10:2 --output out.csv" ""; do
  rm -f out.csv
  PATH=/nonexistent run $form --equations lorenz.txt 10
  expect "without the compiler: ${form:-one run}" \
    '[ $status = 1 -o $status = 2 ] && grep -qF "could not be compiled" err.txt && [ ! -e out.csv ] && [ ! -s out.txt ]'
done
finish
