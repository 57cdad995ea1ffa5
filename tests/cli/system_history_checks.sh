#!/usr/bin/env bash
# The history of a flow of the catalogue and the start of its runs: each
# row is the one run of its intervals, Lorenz by name is the Lorenz
# history with its name, files are new, locked and never overwritten, and
# the refusals of --initial and the other entries.
#   system_history_checks.sh <veltrano-cli>
set -u
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
history: step 0|history --system rossler --step 0 --output out.csv 10|--step 0: H must be a decimal number above 0
history: empty output|history --system rossler --output= 10|--output
history: a picture|history --system rossler --plot p.png --output out.csv 10|--plot
TABLE
finish
