#!/usr/bin/env bash
# Runs veltrano-cli history and sweep as scripts and cluster jobs do, as
# separate processes, and checks their exit status, output and files.
#   history_sweep_checks.sh <veltrano-cli> <plots: 0|1>
set -u
plots=$2
source "$(dirname "$0")/checks.sh"

# The row's t and exponents as the one-run form prints them with --precise.
precise_fields() { "$cli" --precise "$@" | awk -F'\t' 'NR <= 4 { printf "%s%s", sep, $2; sep = "," }'; }

# history: the row of interval k is a run of n = k.
"$cli" history --every 3 7 10 28 2.6667 > h.csv
expect "history header" '[ "$(head -1 h.csv)" = "interval,t,lambda1,lambda2,lambda3" ]'
expect "history rows after 3, 6 and the last" '[ "$(cut -d, -f1 h.csv | tail -n +2 | xargs)" = "3 6 7" ]'
for k in 3 6 7; do
  expect "history row $k = run of n = $k" '[ "$(grep "^$k," h.csv | cut -d, -f2-)" = "$(precise_fields $k 10 28 2.6667)" ]'
done
"$cli" history 9999 280 28 2.6667 > fault.csv 2> fault.err
status=$?
expect "history fault: status 3" '[ $status = 3 ]'
expect "history fault: the message alone" '[ "$(cat fault.err)" = "ERRORE NELLA ELABORAZIONE" ]'
expect "history fault: the four completed rows" '[ $(wc -l < fault.csv) = 5 ]'

# sweep: every row, faults included, is the one run of its own values.
"$cli" sweep --vary sigma=150:400:6 --threads 3 30 10 28 2.6667 > s.csv
expect "sweep header" '[ "$(head -1 s.csv)" = "index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status" ]'
expect "sweep has ok and error rows" 'grep -q ",ok$" s.csv && grep -q ",,,,,error$" s.csv'
while IFS=, read -r index sigma r b t l1 l2 l3 ky status; do
  if [ "$status" = ok ]; then want="$t,$l1,$l2,$l3"; else want="$t,?,?,?"; fi
  expect "sweep row $index = run of its values" '[ "$(precise_fields 30 "$sigma" "$r" "$b")" = "$want" ]'
done < <(tail -n +2 s.csv)
expect "first and last values exactly FROM and TO" '[ "$(sed -n 2p s.csv | cut -d, -f2)" = 150 ] && [ "$(tail -1 s.csv | cut -d, -f2)" = 400 ]'

# Texts that begin with a minus are values, never options.
expect "negative values are values" '"$cli" sweep --vary R=-5:-.5:3 5 -.5 - -. > neg.csv && [ $(wc -l < neg.csv) = 4 ]'
expect "history of -3.5 - -." '"$cli" history 2 -3.5 - -. > /dev/null'
expect "--version" '[ "$("$cli" --version)" = "veltrano-cli 1.0" ]'

# Bad usage: status 2, the message that says what is wrong, nothing on
# standard output, no file. Without Qt a picture is refused before its name
# is looked at.
zeros=$(printf '0%.0s' $(seq 400))
refusals <<TABLE
unknown name|sweep --vary x=0:1:2 --output out.csv 5 10 28 2.6667|sweep: --vary x=0:1:2: NAME must be sigma, R or b
a name like an option|sweep --vary --= --output out.csv 5 10 28 2.6667|sweep: --vary --=: NAME must be sigma, R or b
count 0|sweep --vary R=0:1:0 --output out.csv 5 10 28 2.6667|--vary R=0:1:0: COUNT must be a whole number from 1 to 100000000
count not whole|sweep --vary R=0:1:2.5 --output out.csv 5 10 28 2.6667|--vary R=0:1:2.5: COUNT must be a whole number
count beyond|sweep --vary R=0:1:100000001 --output out.csv 5 10 28 2.6667|--vary R=0:1:100000001: COUNT must be a whole number from 1 to 100000000
exponent|sweep --vary R=0:1e3:2 --output out.csv 5 10 28 2.6667|--vary R=0:1e3:2: TO must be a decimal number
beyond the doubles|sweep --vary R=0:1$zeros:2 --output out.csv 5 10 28 2.6667|TO must be a decimal number (digits, at most one point, a leading minus) within the range of doubles
missing COUNT|sweep --vary R=0:1 --output out.csv 5 10 28 2.6667|--vary R=0:1: expected NAME=FROM:TO:COUNT
a fourth part|sweep --vary R=0:1:2:3 --output out.csv 5 10 28 2.6667|--vary R=0:1:2:3: expected NAME=FROM:TO:COUNT
same name twice|sweep --vary R=0:1:2 --vary R=1:2:2 --output out.csv 5 10 28 2.6667|the two --vary must name two different parameters
three --vary|sweep --vary R=0:1:2 --vary b=1:2:2 --vary sigma=1:2:2 --output out.csv 5 10 28 2.6667|--vary is given at most twice
too many points|sweep --vary R=0:1:20000 --vary b=0:1:20000 --output out.csv 5 10 28 2.6667|the grid has 400000000 points; a sweep has at most 100000000
shard 0|sweep --vary R=0:1:2 --shard 0/2 --output out.csv 5 10 28 2.6667|--shard 0/2: expected K/M with 1 <= K <= M <= 100000000
shard beyond|sweep --vary R=0:1:2 --shard 3/2 --output out.csv 5 10 28 2.6667|--shard 3/2: expected K/M
shard form|sweep --vary R=0:1:2 --shard 1-2 --output out.csv 5 10 28 2.6667|--shard 1-2: expected K/M
join of 0 shards|join --vary R=0:1:2 --shards 0 --input s{K}.csv --output out.csv 5 10 28 2.6667|join: --shards 0: M must be a whole number from 1 to 100000000
threads 0|sweep --vary R=0:1:2 --threads 0 --output out.csv 5 10 28 2.6667|--threads 0: T must be a whole number from 1 to 4096
threads 4097|sweep --vary R=0:1:2 --threads 4097 --output out.csv 5 10 28 2.6667|--threads 4097: T must be a whole number from 1 to 4096
a grid of 10^8 points taken|sweep --vary R=0:1:10000 --vary b=0:1:10000 --resume 5 10 28 2.6667|--resume needs --output FILE
threads text|sweep --vary R=0:1:2 --threads x --output out.csv 5 10 28 2.6667|--threads x: T must be a whole number
threads of 19 digits|sweep --vary R=0:1:2 --threads 9999999999999999999 --output out.csv 5 10 28 2.6667|--threads 9999999999999999999: T must be a whole number
resume without output|sweep --vary R=0:1:2 --resume 5 10 28 2.6667|--resume needs --output FILE
plot format|sweep --vary R=0:1:2 --plot p.gif --output out.csv 5 10 28 2.6667|--plot p.gif: the picture's name must end in .png or .svg
progress both ways|sweep --vary R=0:1:2 --progress --no-progress --output out.csv 5 10 28 2.6667|--progress and --no-progress exclude each other
unknown option|sweep --vary R=0:1:2 --fast --output out.csv 5 10 28 2.6667|The following argument was not expected: --fast
three entries|sweep --vary R=0:1:2 --output out.csv 5 10 28|N SIGMA R B: At least 4 required but received 3
five entries|sweep --vary R=0:1:2 --output out.csv 5 10 28 2.6667 7|N SIGMA R B: At Most 4 required but received 5
n refused|sweep --vary R=0:1:2 --output out.csv 0 10 28 2.6667|Valore Errato: il valore deve essere un intero positivo
sigma refused|sweep --vary R=0:1:2 --output out.csv 5 1,5 28 2.6667|Valore Errato: il valore di sigma deve essere un numero reale
every 0|history --every 0 --plot p.png 5 10 28 2.6667|history: --every 0: K must be a whole number from 1 to 1000000000
every with a point|history --every 1.5 5 10 28 2.6667|--every 1.5: K must be a whole number
every of 19 digits|history --every 1000000000000000000 5 10 28 2.6667|--every 1000000000000000000: K must be a whole number
history plot format|history --plot p.jpeg 5 10 28 2.6667|--plot p.jpeg: the picture's name must end in .png or .svg
N of 10^9 taken|history --plot p.gif 1000000000 10 28 2.6667|--plot p.gif: the picture's name must end in .png or .svg
TABLE
expect "entry messages as in the window" '"$cli" sweep --vary R=0:1:2 5 10 28 2,6667 2>&1 | grep -qx "Valore Errato: il valore di b deve essere un numero reale"'

# An existing file is never overwritten.
echo "precious" > kept.csv
"$cli" sweep --vary R=0:1:2 --output kept.csv 5 10 28 2.6667 2> /dev/null
status=$?
expect "existing file: status 2, untouched" '[ $status = 2 ] && [ "$(cat kept.csv)" = precious ]'

# Shards run on their own, joined in order without the later headers, are
# the whole sweep.
sweep=(sweep --vary R=0:250:23 --vary b=1:4:3 40 10 28 2.6667)
"$cli" "${sweep[@]}" > whole.csv
for k in 1 2 3 4; do "$cli" "${sweep[@]}" --shard $k/4 > shard$k.csv & done
wait
{ cat shard1.csv; for k in 2 3 4; do tail -n +2 shard$k.csv; done; } > joined.csv
expect "shards joined = whole" 'cmp -s joined.csv whole.csv'

# Resume: after a crash mid-line, after a kill, and of a finished file, the
# result is the uninterrupted sweep to the byte.
head -c 2500 whole.csv > cut.csv
"$cli" "${sweep[@]}" --output cut.csv --resume
expect "resume after an unfinished line" 'cmp -s cut.csv whole.csv'
"$cli" "${sweep[@]}" --output cut.csv --resume
expect "resume of a finished file changes nothing" 'cmp -s cut.csv whole.csv'
killed=(sweep --vary R=0:250:300 --threads 1 $long 10 28 2.6667)
"$cli" "${killed[@]}" --output killed.csv &
pid=$!
for _ in $(seq 100); do [ "$(wc -l < killed.csv 2> /dev/null || echo 0)" -gt 20 ] && break; sleep 0.05; done
kill -KILL $pid 2> /dev/null
wait $pid 2> /dev/null
rows=$(($(wc -l < killed.csv) - 1))
expect "the killed sweep had written part of its rows" '[ $rows -gt 0 ] && [ $rows -lt 300 ]'
"$cli" "${killed[@]}" --output killed.csv --resume
"$cli" "${killed[@]}" --threads 2 > uninterrupted.csv
expect "killed and resumed = uninterrupted" 'cmp -s killed.csv uninterrupted.csv'

# Files of another sweep, or of no sweep, are refused and left as they were.
cp whole.csv other.csv
"$cli" history 5 10 28 2.6667 > history.csv
for file in other.csv history.csv; do
  before=$(md5sum < "$file")
  "$cli" sweep --vary R=0:250:24 --vary b=1:4:3 40 10 28 2.6667 --output "$file" --resume 2> refused.txt
  status=$?
  expect "foreign $file refused" '[ $status = 2 ] && grep -q "not the output of this sweep" refused.txt'
  expect "foreign $file untouched" '[ "$(md5sum < "$file")" = "$before" ]'
done
sed 's/^7,\(.*\),ok$/7,\1,error/' whole.csv > forged.csv
"$cli" "${sweep[@]}" --output forged.csv --resume 2> /dev/null
expect "a row that differs from its computation is refused" '[ $? = 2 ]'

# Progress goes to standard error only when asked or on a terminal.
"$cli" sweep --vary R=0:1:3 5 10 28 2.6667 2> quiet.txt > /dev/null
expect "no progress when standard error is not a terminal" '[ ! -s quiet.txt ]'
"$cli" sweep --vary R=0:1:3 --progress 5 10 28 2.6667 2> progress.txt > /dev/null
expect "--progress" 'grep -q "3 / 3 points" progress.txt'
"$cli" sweep --vary R=0:1:3 --no-progress 5 10 28 2.6667 2> none.txt > /dev/null
expect "--no-progress: none" '[ ! -s none.txt ]'
expect "--every larger than N: the last row only" '[ "$("$cli" history --every 1000000000 3 10 28 2.6667 | cut -d, -f1 | tail -n +2)" = 3 ]'

if [ "$plots" = 1 ]; then
  "$cli" history --plot h.png 50 10 28 2.6667 > /dev/null
  expect "history picture (PNG)" '[ "$(head -c 4 h.png | tail -c 3)" = PNG ]'
  "$cli" sweep --vary R=0:250:40 --plot line.svg 20 10 28 2.6667 > /dev/null
  expect "line picture (SVG)" 'grep -q "<svg" line.svg'
  "$cli" sweep --vary sigma=0:30:9 --vary R=0:100:8 --plot map.png 20 10 28 2.6667 > /dev/null
  expect "map picture (PNG)" '[ "$(head -c 4 map.png | tail -c 3)" = PNG ]'
else
  "$cli" history --plot h.png 5 10 28 2.6667 > out.txt 2> err.txt
  expect "no pictures without Qt, and it says so" '[ $? = 2 ] && grep -q "without Qt" err.txt && [ ! -s out.txt ]'
fi

finish
