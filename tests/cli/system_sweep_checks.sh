#!/usr/bin/env bash
# Sweeps of a flow of the catalogue: each row is the one run of its point,
# Lorenz by name is the Lorenz sweep with its name and divergence, shards
# joined and a file resumed are the whole sweep to the byte, the files of
# other sweeps are refused naming both, plot draws a map of two varied
# parameters, and the refusals of the entries.
#   system_sweep_checks.sh <veltrano-cli> [plots]
set -u
source "$(dirname "$0")/checks.sh"
plots=${2:-1}

grid="--system rossler --vary a=0.1:0.3:3 --vary c=4:8:2"
run sweep $grid --output whole.csv 300 b=0.25
expect "a sweep of rossler: done" '[ $status = 0 ] && [ ! -s out.txt ] && [ ! -s err.txt ]'
expect "its header" '[ "$(head -1 whole.csv)" = "index,system,a,b,c,t,lambda1,lambda2,lambda3,kaplan_yorke,divergence,status" ]'
# Each row's t and exponents are the one run of its point to the last digit.
for i in 0 5; do
  IFS=, read -r _ _ a b c rest <<< "$(sed -n "$((i + 2))p" whole.csv)"
  expect "row $i is the run of its point" \
    '[ "$(cut -d, -f6-9 <<< "$(sed -n "$((i + 2))p" whole.csv)" | tr , " ")" = "$("$cli" --system rossler --precise 300 a=$a b=$b c=$c | grep -v seconds | cut -f2 | tr "\n" " " | sed "s/ $//")" ]'
done

# Split and joined, or cut and resumed: the whole file to the byte.
for k in 1 2 3; do "$cli" sweep $grid --shard $k/3 --output part$k.csv 300 b=0.25; done
run join $grid --shards 3 --input "part{K}.csv" --output joined.csv 300 b=0.25
expect "shards joined are the whole sweep" '[ $status = 0 ] && cmp -s joined.csv whole.csv'
head -c 300 whole.csv > cut.csv
run sweep $grid --resume --output cut.csv 300 b=0.25
expect "a cut file resumed is the whole sweep" '[ $status = 0 ] && cmp -s cut.csv whole.csv'

# Lorenz by name: the Lorenz sweep with its name and the divergence, same status.
"$cli" sweep --vary R=20:30:3 --errors --batch 5 20 10 28 2.6666666666666665 > lorenz.csv
run sweep --system lorenz --vary R=20:30:3 --errors --batch 5 --output named.csv 20
expect "lorenz by name is the Lorenz sweep with its name" \
  '[ $status = 0 ] && diff -q lorenz.csv <(cut -d, -f1,3-10,12- named.csv) > /dev/null && cut -d, -f2 named.csv | sort -u | tr "\n" " " | grep -qx "lorenz system "'

# The files of other sweeps are left as they were, refused naming both.
"$cli" sweep --system thomas --vary b=0.1:0.2:6 --output thomas.csv 300
"$cli" sweep --system rossler --exponents 2 --vary a=0.1:0.3:3 --vary c=4:8:2 --output two.csv 300 b=0.25
"$cli" sweep --system chen --vary a=0.1:0.3:3 --vary c=4:8:2 --output chen.csv 300 b=0.25
sed 's/$/\r/' whole.csv > crlf.csv
while IFS='|' read -r what file message; do
  kept=$(sum "$file")
  run sweep $grid --resume --output "$file" 300 b=0.25
  expect "$what: refused" '[ $status = 2 ] && grep -qF -- "$message" err.txt && [ "$(sum "$file")" = "$kept" ]'
  cp "$file" mixed2.csv && cp part1.csv mixed1.csv && cp part3.csv mixed3.csv
  run join $grid --shards 3 --input "mixed{K}.csv" --output mixed.csv 300 b=0.25
  expect "$what: a shard of it refused by join" '[ $status = 2 ] && grep -qF -- "$message" err.txt && [ ! -e mixed.csv ]'
done <<'TABLE'
another flow|thomas.csv|it is a sweep of thomas; this sweep is of rossler
another flow with the same columns|chen.csv|is of chen; this sweep is of rossler
the Lorenz form|lorenz.csv|it is a sweep of Lorenz in the form without --system, which has no system column; this sweep is of rossler
another K|two.csv|its columns are not those of this sweep of rossler
CR LF line ends|crlf.csv|its lines end in CR LF
TABLE

# The file is the user's: never overwritten, a failed write is an error.
outputs <<'TABLE'
an existing file|sweep --system rossler --output whole.csv 10|2|^$|whole\.csv exists and is never overwritten; --resume continues it
a full disk|sweep --system rossler --output /dev/full 10|1|^$|cannot write the rows to /dev/full
standard output|sweep --system thomas --vary b=0.1:0.2:2 10|0|^index,system,b,t,lambda1,lambda2,lambda3,kaplan_yorke,divergence,status;0,thomas,0.10000000000000001,[^;]*;1,thomas,0.20000000000000001,[^;]*;$|^$
TABLE

kept=$(sum whole.csv)
run sweep --vary R=20:30:3 --resume --output whole.csv 20 10 28 2.6667
expect "the Lorenz sweep refuses a flow's file naming both" \
  '[ $status = 2 ] && grep -qF "it is a sweep of rossler in the form with --system; this sweep is of Lorenz in the form without it" err.txt && [ "$(sum whole.csv)" = "$kept" ]'

if [ "$plots" = 1 ]; then
  run plot whole.csv map.png
  expect "plot draws the map of two varied parameters" '[ $status = 0 ] && [ -s map.png ]'
  head -1 whole.csv > header.csv
  run plot header.csv header.png
  expect "plot of a header alone: no rows to draw" '[ $status = 2 ] && grep -qF "header.csv has no rows to draw" err.txt && [ ! -e header.png ]'
  run plot crlf.csv crlf.png
  expect "plot refuses CR LF line ends, saying so" '[ $status = 2 ] && grep -qF "crlf.csv: its lines end in CR LF" err.txt && [ ! -e crlf.png ]'
  run plot thomas.csv line.png
  expect "plot refuses a line" '[ $status = 2 ] && grep -qF "varies 1 parameter of thomas (b): its picture is a map over two varied parameters" err.txt && [ ! -e line.png ]'
  run sweep $grid --output drawn.csv --plot drawn.png 300 b=0.25
  expect "--plot draws the map as the rows are written" '[ $status = 0 ] && cmp -s drawn.csv whole.csv && cmp -s drawn.png map.png'
  run sweep --system thomas --vary b=0.1:0.2:6 --output out.csv --plot p.png 300
  expect "--plot refuses a line before any work" '[ $status = 2 ] && grep -qF "draws a map over two varied parameters" err.txt && [ ! -e out.csv ] && [ ! -e p.png ]'
  run plot --exponent 3 two.csv three.png
  expect "plot refuses an exponent the file lacks" '[ $status = 2 ] && grep -qF "holds lambda1 to lambda2 only" err.txt && [ ! -e three.png ]'
fi

refusals <<'TABLE'
ends without digits|sweep --system rossler --vary a=-:.:2 --output out.csv 10|--vary a=-:.:2: FROM must be a decimal number
an unknown parameter varied|sweep --system rossler --vary q=1:2:3 --output out.csv 10|--vary q=1:2:3: 'q' is not a parameter of rossler: the parameters of rossler are a, b, c
varied and given|sweep --system rossler --vary a=1:2:3 --output out.csv 10 a=0.5|the parameter a is both varied (--vary) and given (a=0.5)
given twice|sweep --system rossler --output out.csv 10 a=0.5 a=0.5|the parameter a is given twice
varied twice|sweep --system rossler --vary a=1:2:3 --vary a=1:2:3 --output out.csv 10|--vary names a twice
four axes|sweep --system rossler --vary a=1:2:2 --vary b=1:2:2 --vary c=1:2:2 --vary a=1:2:2 --output out.csv 10|--vary is given at most three times
a map over three axes|sweep --system rossler --vary a=1:2:2 --vary b=1:2:2 --vary c=1:2:2 --output out.csv --plot p.png 10|--plot draws a map over two varied parameters; this sweep varies 3
too many points|sweep --system rossler --vary a=1:2:10000 --vary b=1:2:10000 --vary c=1:2:2 --output out.csv 10|a sweep has at most 100000000
a start of two values|sweep --system rossler --initial 1,2 --output out.csv 10|--initial 1,2: expected 3 finite numbers
no exponent|sweep --system rossler --exponents 0 --output out.csv 10|--exponents 0: K must be a whole number from 1 to 3
too many exponents|sweep --system lorenz96 --dimension 5 --exponents 6 --output out.csv 10|K must be a whole number from 1 to 5
no N|sweep --system rossler --output out.csv|N is missing
an unknown flow|sweep --system nope --output out.csv 10|there is no system 'nope'
resume to standard output|sweep --system rossler --resume 10|--resume needs --output FILE
a bad shard|sweep --system rossler --shard 3/2 --output out.csv 10|--shard 3/2
join without a pattern|join --system rossler --shards 2 --input part.csv --output out.csv 10|the pattern must hold {K}
--system after --, an entry of Lorenz|sweep --vary R=1:2:2 --output out.csv -- 10 10 28 --system|Valore Errato: il valore di b deve essere un numero reale
a flow twice|sweep --system rossler --system chen --output out.csv 10|--system is given twice: give it once
join: shards twice|join --system rossler --shards 2 --shards 3 --input "p{K}.csv" --output out.csv 10|--shards is given twice: give it once
join: an unknown parameter|join --system rossler --vary q=1:2:3 --shards 2 --input "p{K}.csv" --output out.csv 10|'q' is not a parameter of rossler
TABLE
finish
