#!/usr/bin/env bash
# The history of a flow of the catalogue and the start of its runs: each
# row is the one run of its intervals, Lorenz by name is the Lorenz
# history with its name, files are new, locked and never overwritten, and
# the refusals of --initial and the other entries; where the tool draws
# ([plots] 1, the default), the picture of a history and its refusals.
#   system_history_checks.sh <veltrano-cli> [plots]
set -u
plots=${2:-1}
source "$(dirname "$0")/checks.sh"

# row FILE INTERVAL: the row of that interval, its fields from t on.
row() { grep "^$2," "$1" | cut -d, -f3- | tr , ' '; }
# precise ARGS: the one run's t and exponents on one line.
precise() { "$cli" $* | grep -v seconds | cut -f2 | tr '\n' ' ' | sed 's/ $//'; }

# Each row is the one run of its intervals to the last digit, whatever the
# start, the dimension and k; the rows come after every K-th and the last.
while IFS='|' read -r what options entries every rows; do
  rm -f h.csv
  run history --system $options --every $every --output h.csv $entries
  expect "$what: done" '[ $status = 0 ] && [ ! -s out.txt ] && [ ! -s err.txt ]'
  expect "$what: rows" '[ "$(tail -n +2 h.csv | cut -d, -f1 | tr "\n" " ")" = "$rows" ]'
  n=${entries%% *}
  for k in $(tail -n +2 h.csv | cut -d, -f1 | sed -n '1p;$p'); do
    expect "$what: row $k is the run of $k" '[ "$(row h.csv $k)" = "$(precise --system $options --precise $k ${entries#$n})" ]'
  done
done <<'TABLE'
rossler from a start|rossler --initial -1,2.5,0.25|60 a=0.25|25|25 50 60 
lorenz96 with two exponents|lorenz96 --dimension 6 --exponents 2 --initial 1,2,3,4,5,6|40 F=9|40|40 
TABLE
expect "a flow of chosen dimension named with it" 'head -1 h.csv | grep -qx "interval,system,t,lambda1,lambda2" && grep -q "^40,lorenz96:6," h.csv'

# Lorenz by name: the Lorenz history, with the field system; with error bars too.
for errors in "" "--errors --batch 3"; do
  "$cli" history $errors --every 7 30 10 28 2.6666666666666665 > lorenz.csv
  run history --system lorenz $errors --every 7 --output named.csv 30
  expect "lorenz ${errors:-plain}: the Lorenz history with its name" \
    '[ $status = 0 ] && diff -q lorenz.csv <(sed -e "1s/^interval,system,/interval,/" -e "2,\$s/^\([0-9]*\),lorenz,/\1,/" named.csv) > /dev/null'
  rm -f named.csv
done

# The file is the user's: an existing one (one being written included) is
# left as it was, a failed write is an error.
echo "mine" > h.csv
outputs <<'TABLE'
an existing file|history --system rossler --output h.csv 10|2|^$|h\.csv exists and is never overwritten
a full disk|history --system rossler --output /dev/full 10|1|^$|cannot write the rows to /dev/full
no folder|history --system rossler --output nowhere/h.csv 10|1|^$|cannot write nowhere/h\.csv
standard output|history --system rossler --every 5 10|0|^interval,system,t,lambda1,lambda2,lambda3;5,rossler,[^;]*;10,rossler,[^;]*;$|^$
an arithmetic error|history --system rossler --output fault.csv 100000 c=-100000000000000000000|3|^$|ERRORE NELLA ELABORAZIONE
TABLE
expect "the existing file untouched" '[ "$(cat h.csv)" = mine ]'
expect "the rows before the fault kept" '[ "$(head -1 fault.csv)" = "interval,system,t,lambda1,lambda2,lambda3" ]'

# The one run from a start: the flow's own start is the default.
expect "one run from its own start" '[ "$(precise --system rossler --precise 100)" = "$(precise --system rossler --initial 1,1,1 --precise 100)" ]'

if [ "$plots" = 1 ]; then
  # The picture as the rows are written is the one plot draws of their file:
  # every exponent (λ10 on, none elided in the legend) with its band.
  run history --system lorenz96 --dimension 12 --exponents 11 --errors --batch 5 --output h11.csv --plot h11.svg 100
  run plot h11.csv again.svg
  expect "--plot of a flow: plot of its file draws the same" '[ $status = 0 ] && cmp -s h11.svg again.svg'
  expect "titled with the flow and n" 'grep -q "<title>Convergence of the Lyapunov exponents — lorenz96:12, n = 100</title>" h11.svg'
  expect "all eleven in the legend, with bands" 'grep -q ">λ10<" h11.svg && grep -q ">λ11<" h11.svg && ! grep -q ">λ12<" h11.svg && grep -q ">λ11 95 %<" h11.svg'
  run history --system rossler --every 7 --output r.csv --plot r.png 60
  run plot r.csv r2.png
  expect "--plot after every K-th row: the same picture" '[ $status = 0 ] && cmp -s r.png r2.png'
  run plot --exponent 11 h11.csv eleven.svg
  expect "--exponent K up to the file's K" '[ $status = 0 ] && grep -q "<title>Convergence of λ11 with its 95 % interval — lorenz96:12, n = 100</title>" eleven.svg'
  kept=$(sum r.png)
  run history --system rossler --output new.csv --plot r.png 10
  expect "an existing picture is never replaced, nothing run" '[ $status = 2 ] && grep -q "r.png exists" err.txt && [ ! -e new.csv ] && [ "$(sum r.png)" = "$kept" ]'
  # Files plot refuses before it draws.
  printf 'interval,system,t,lambda1\n1,nope,0.2,1\n' > nope.csv
  printf 'interval,system,t,lambda1,lambda2,lambda3,lambda4\n1,rossler,0.2,1,1,1,1\n' > four.csv
  printf 'interval,system,t,lambda\n1,rossler,0.2,1\n' > neither.csv
  { head -2 r.csv; tail -1 r.csv | sed s/rossler/thomas/; } > mixed.csv
  head -1 r.csv > header.csv
fi
refusals <<'TABLE'
history: a picture's name|history --system rossler --plot p.jpg --output out.csv 10|--plot p.jpg: the picture's name must end in .png or .svg
history: the picture as the rows|history --system rossler --plot p.png --output p.png 10|--plot p.png names the file of the rows
TABLE
[ "$plots" = 1 ] && refusals <<'TABLE'
plot: an exponent beyond K|plot --exponent 12 h11.csv p.png|--exponent 12: h11.csv holds lambda1 to lambda11 only
plot: exponent 0|plot --exponent 0 r.csv p.png|--exponent 0: K must be a whole number from 1 to 3 (r.csv holds lambda1 to lambda3)
plot: a flow not of the catalogue|plot nope.csv p.png|nope.csv is a history of nope, which is not a flow of the catalogue
plot: more exponents than the flow|plot four.csv p.png|four.csv holds lambda1 to lambda4 of rossler, a flow of dimension 3
plot: a header of neither form|plot neither.csv p.png|neither.csv is not a history of a flow written by veltrano-cli (its header is not one of theirs)
plot: a row of another flow|plot mixed.csv p.png|mixed.csv line 3 is a row of the history of thomas, not of rossler
plot: no rows|plot header.csv p.png|header.csv has no rows to draw
plot: a folder|plot . p.png|. is a folder, not a file of rows
TABLE

refusals <<'TABLE'
one run: two values for three|--system rossler --initial 1,2 10|--initial 1,2: expected 3 finite numbers, one for each variable of rossler (x, y, z)
one run: four values|--system rossler --initial 1,2,3,4 10|--initial 1,2,3,4: expected 3 finite numbers
one run: an empty value|--system rossler --initial 1,,3 10|--initial 1,,3: expected 3
one run: no number|--system rossler --initial 1,2,x 10|expected 3 finite numbers
one run: an exponent|--system rossler --initial 1,2,1e3 10|expected 3 finite numbers
one run: a trailing comma|--system rossler --initial 1,2,3, 10|expected 3 finite numbers
one run: the dimension chosen|--system lorenz96 --dimension 5 --initial 1,2,3,4 10|expected 5 finite numbers, one for each variable of lorenz96 (x1, x2, x3, x4, x5)
one run: twice|--system rossler --initial 1,2,3 --initial 1,2,3 10|--initial is given twice
history: two values|history --system rossler --initial 1,2 --output out.csv 10|--initial 1,2: expected 3 finite numbers, one for each variable of rossler
history: Lorenz's start for lorenz96|history --system lorenz96 --initial 1,1,1 --output out.csv 10|expected 5 finite numbers
history: no N|history --system rossler --output out.csv|N is missing
history: N too large|history --system rossler --output out.csv 1000000001|N 1000000001: Deve essere N <= 1000000000
history: unknown parameter|history --system rossler --output out.csv 10 sigma=1|'sigma' is not a parameter of rossler
history: unknown system|history --system nope --output out.csv 10|there is no system 'nope'
history: k above d|history --system rossler --exponents 4 --output out.csv 10|--exponents 4: K must be a whole number from 1 to 3
history: fixed dimension|history --system rossler --dimension 4 --output out.csv 10|rossler has the fixed dimension 3
history: every 0|history --system rossler --every 0 --output out.csv 10|--every 0: K must be a whole number from 1 to 1000000000
history: every not a number|history --system rossler --every 1x --output out.csv 10|--every 1x: K must be a whole number from 1 to 1000000000
history: step 0|history --system rossler --step 0 --output out.csv 10|--step 0: H must be a decimal number above 0
history: empty output|history --system rossler --output= 10|--output
history: output twice|history --system rossler --output out.csv --output p.png 10|--output is given twice: give it once
history: a flow twice|history --system rossler --system chen --output out.csv 10|--system is given twice: give it once
plot: an empty input|plot "" p.png|INPUT is empty: give the history or sweep file to draw
plot: an empty picture|plot r.csv ""|OUTPUT is empty: give the picture to draw
plot: exponent twice|plot --exponent 1 --exponent 2 r.csv p.png|--exponent is given twice: give it once
describe: dimension three times|systems lorenz96 --dimension 5 --dimension 6 --dimension 7|--dimension is given 3 times: give it once
TABLE
finish
