#!/usr/bin/env bash
# Typed equations from the command line: systems --check prints the system
# read or the first error under its line; --equations runs a typed flow
# (Lorenz typed in the built-in's order gives the built-in's t to the bit,
# a catalogue flow typed from its own description its exponents); files and
# standard input alike; refusals with status 2.
#   equation_checks.sh <veltrano-cli>
set -u
source "$(dirname "$0")/checks.sh"

printf "x' = sigma*(y - x)\ny' = R*x - y - x*z  # Lorenz\nz' = -b*z + x*y\nsigma = 10; R = 28; b = 8/3\n" > lorenz.txt
run systems --check lorenz.txt
expect "check: the system read" '[ $status = 0 ] && grep -q "^# 3 variables, 3 parameters; SHA-256 of the text [0-9a-f]\{64\}$" out.txt && grep -qxF "b = 2.6666666666666665" out.txt && grep -qxF "z(0) = 1" out.txt'
run systems --check - < lorenz.txt
expect "check: standard input" '[ $status = 0 ] && grep -qxF "y'"'"' = R*x - y - x*z" out.txt'
printf "x' = 1\ny' = x +* 2\n" > bad.txt
run systems --check bad.txt
expect "check: the error under its line" '[ $status = 2 ] && [ ! -s out.txt ] && [ "$(sed -n 1p err.txt)" = "veltrano-cli systems --check: bad.txt, line 2, column 9: expected a number, a name or '"'"'('"'"', found '"'"'*'"'"'" ] && [ "$(sed -n 3p err.txt)" = "          ^" ]'

run --system lorenz --precise 2000
grep -v seconds out.txt > builtin.txt
run --equations lorenz.txt --precise 2000
expect "typed Lorenz: the built-in's t" '[ $status = 0 ] && [ "$(head -1 out.txt)" = "$(head -1 builtin.txt)" ]'
run --equations - --precise 2000 R=28 < lorenz.txt
expect "typed Lorenz from standard input" '[ $status = 0 ] && [ "$(head -1 out.txt)" = "$(head -1 builtin.txt)" ]'
"$cli" systems rossler | sed -n '/^Equations:/,/^$/p' | tail -n +2 > rossler.txt
run --system rossler --precise 3000 c=5.3
grep -v seconds out.txt > builtin.txt
run --equations rossler.txt --precise 3000 c=5.3
expect "Rossler typed from its description" '[ $status = 0 ] && diff -q builtin.txt <(grep -v seconds out.txt) > /dev/null'

lines=4 refusals <<'TABLE'
error in the file|--equations bad.txt 10|bad.txt, line 2, column 9: expected a number
no file|--equations missing.txt 10|cannot open missing.txt
no N|--equations lorenz.txt|N is missing
unknown parameter|--equations lorenz.txt 10 a=1|'a' is not a parameter of the typed system: the parameters of the typed system are sigma, R, b
k above d|--equations lorenz.txt --exponents 4 10|--exponents 4: K must be a whole number from 1 to 3
file twice|--equations lorenz.txt --equations lorenz.txt 10|--equations is given twice
unknown option|--equations lorenz.txt --dimension 3 10|unknown option --dimension
check with a name|systems lorenz --check lorenz.txt|--check reads a file of equations
TABLE
finish
