#!/usr/bin/env bash
# What happens around a sweep: one writer per file, pictures that never
# replace a file, resume that keeps only rows this program could have
# written, failed writes reported, help for every form, joins of shards and
# pictures drawn afterwards. Runs veltrano-cli as separate processes.
#   file_safety_checks.sh <veltrano-cli> <plots: 0|1>
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
plots=$2
source "$(dirname "$0")/checks.sh"
sum() { md5sum < "$1"; }

# One writer per file: while a sweep writes a.csv, a second one is refused
# at once, whether it continues the file or not; the file stays a clean
# prefix that resumes to the uninterrupted sweep.
long=(sweep --vary R=0:250:400 --threads 1 --no-progress 9999 10 28 2.6667)
"$cli" "${long[@]}" --output a.csv &
writer=$!
for _ in $(seq 200); do [ "$(wc -l < a.csv 2> /dev/null || echo 0)" -ge 2 ] && break; sleep 0.05; done
"$cli" "${long[@]}" --output a.csv --resume 2> second.err
status=$?
expect "a second writer is refused (status 2)" '[ $status = 2 ] && grep -q "a.csv is being written by another process" second.err'
"$cli" "${long[@]}" --output a.csv 2> /dev/null
expect "a second sweep without --resume is refused too" '[ $? = 2 ]'
kill -KILL $writer 2> /dev/null
wait $writer 2> /dev/null
"$cli" "${long[@]}" --output a.csv --resume
"$cli" sweep --vary R=0:250:400 --threads 2 9999 10 28 2.6667 > whole-a.csv
expect "the refused writers left a clean prefix that resumes byte-identical" 'cmp -s a.csv whole-a.csv'

# A valid part of the same sweep is still the user's file without --resume.
sweep=(sweep --vary R=0:250:40 --no-progress 60 10 28 2.6667)
"$cli" "${sweep[@]}" > whole.csv
head -n 20 whole.csv > part.csv
before=$(sum part.csv)
"$cli" "${sweep[@]}" --output part.csv 2> /dev/null
expect "--output on a valid partial sweep without --resume: status 2, untouched" '[ $? = 2 ] && [ "$(sum part.csv)" = "$before" ]'

# --resume keeps only rows this program could have written; everything else
# is refused and left untouched. Row 20 is not in the recomputed sample, row
# 5 is... but a changed digit must be caught there (the sample recomputes
# row 0 and every second row of this 40-point line).
row() { sed -n "$(($1 + 2))p" whole.csv; }
forge() {  # forge FILE ROW SED-EXPRESSION: whole.csv's first 30 rows with one row changed
  head -n 31 whole.csv | sed "$(($2 + 2))s/$3/" > "$1"
}
l1=$(row 6 | cut -d, -f6)
forge digit.csv 6 "${l1}/${l1%?}$(( (${l1: -1} + 1) % 10 ))"
forge short.csv 21 "$(row 21 | cut -d, -f6)/$(row 21 | cut -d, -f6 | cut -c1-8)"
forge nan.csv 21 "$(row 21 | cut -d, -f7)/nan"
forge inf.csv 21 "$(row 21 | cut -d, -f5)/inf"
forge empty.csv 21 "$(row 21 | cut -d, -f8),/,"
forge errorky.csv 21 ",\([^,]*\),\([^,]*\),\([^,]*\),\([^,]*\),ok$/,,,,\4,error"
forge okempty.csv 21 ",\([^,]*\),ok$/,,ok"
forge spaces.csv 21 ",ok$/, ok"
head -n 1 whole.csv > /dev/null
"$cli" history 5 10 28 2.6667 | head -n 1 > otherheader.csv
for f in digit short nan inf empty errorky okempty spaces otherheader; do
  before=$(sum $f.csv)
  "$cli" "${sweep[@]}" --output $f.csv --resume 2> refused.txt
  status=$?
  expect "resume of a forged file ($f): refused" '[ $status = 2 ] && grep -q "not the output of this sweep" refused.txt'
  expect "resume of a forged file ($f): untouched" '[ "$(sum $f.csv)" = "$before" ]'
done
head -n 31 whole.csv > good.csv
"$cli" "${sweep[@]}" --output good.csv --resume
expect "the unforged part resumes to the whole" 'cmp -s good.csv whole.csv'

# Creating the output never follows or replaces what is there.
ln -s missing/target.csv dangling.csv
"$cli" "${sweep[@]}" --output dangling.csv 2> /dev/null
expect "a dangling link as --output: refused, its target not created" '[ $? = 2 ] && [ ! -e missing ]'
"$cli" "${sweep[@]}" --output dangling.csv --resume 2> /dev/null
expect "... also with --resume" '[ $? = 2 ] && [ ! -e missing ]'

# A failed write is an error, in every form.
if [ -w /dev/full ]; then
  "$cli" 5 10 28 2.6667 > /dev/full 2> full.err
  expect "one run to a full disk: status 1 and a message" '[ $? = 1 ] && grep -q "cannot write" full.err'
  "$cli" --help > /dev/full 2> /dev/null
  expect "--help to a full disk: status 1" '[ $? = 1 ]'
  "$cli" history 5 10 28 2.6667 > /dev/full 2> /dev/null
  expect "history to a full disk: status 1" '[ $? = 1 ]'
  "$cli" "${sweep[@]}" > /dev/full 2> /dev/null
  expect "sweep to a full disk: status 1" '[ $? = 1 ]'
fi

# Every form prints its own help, wherever --help or -h stands.
while IFS='|' read -r args usage; do
  eval "\"\$cli\" $args" > help.txt 2> help.err
  status=$?
  expect "help: $args" '[ $status = 0 ] && grep -q "^Usage: veltrano-cli $usage" help.txt && [ ! -s help.err ]'
done <<TABLE
sweep --help|sweep
sweep -h|sweep
sweep --vary R=0:1:2 --help 10 10 28 2.6667|sweep
history --help|history
history -h 5 10 28|history
join --help|join
plot -h|plot
plot a.csv --help|plot
TABLE
"$cli" history --every 0 5 10 28 2.6667 2> every.err
expect "--every says its real limits" '[ $? = 2 ] && grep -q "from 1 to 1000000000" every.err'

# join: the shards' files, each complete and in place, make the whole sweep.
grid=(--vary R=0:250:23 --vary b=1:4:3 40 10 28 2.6667)
"$cli" sweep "${grid[@]}" > grid.csv
for k in 1 2 3 4; do "$cli" sweep "${grid[@]}" --shard $k/4 --output shard-$k.csv; done
"$cli" join "${grid[@]}" --shards 4 --input 'shard-{K}.csv' --output joined.csv
expect "join of four shards = the whole sweep" '[ $? = 0 ] && cmp -s joined.csv grid.csv'
"$cli" join "${grid[@]}" --shards 4 --input 'shard-{K}.csv' --output joined.csv 2> /dev/null
expect "join never overwrites its output" '[ $? = 2 ] && cmp -s joined.csv grid.csv'
cp shard-1.csv keep.csv
cp grid.csv shard-1.csv  # the whole sweep in shard 1's file
while IFS='|' read -r what setup shard; do
  eval "$setup"
  "$cli" join "${grid[@]}" --shards 4 --input 'shard-{K}.csv' > out.csv 2> join.err
  status=$?
  expect "join refuses $what, naming shard $shard" '[ $status = 2 ] && grep -q "shard $shard of 4" join.err && [ ! -s out.csv ]'
  cp keep.csv shard-1.csv
done <<TABLE
a shard holding the whole sweep|cp grid.csv shard-1.csv|1
a missing shard|mv shard-3.csv gone.csv|3
an incomplete shard|mv gone.csv shard-3.csv; head -c 700 shard-3.csv > cut.csv; cp shard-3.csv full-3.csv; mv cut.csv shard-3.csv|3
a shard of another sweep|cp full-3.csv shard-3.csv; "$cli" sweep --vary R=0:250:23 --vary b=1:4:3 41 10 28 2.6667 --shard 2/4 > shard-2.csv|2
TABLE

# Pictures: never over a file, never the rows' file, never into a missing
# folder, all refused before anything is computed or written.
if [ "$plots" = 1 ]; then
  echo "precious" > taken.png
  while IFS='|' read -r what args; do
    rm -f rows.csv
    eval "\"\$cli\" $args" > out.txt 2> plot.err
    status=$?
    expect "$what: refused before any work" '[ $status = 2 ] && [ ! -s out.txt ] && [ ! -e rows.csv ] && [ "$(cat taken.png)" = precious ]'
  done <<TABLE
an existing picture|sweep --vary R=0:1:2 --output rows.csv --plot taken.png 5 10 28 2.6667
the rows' own file|sweep --vary R=0:1:2 --output rows.svg --plot rows.svg 5 10 28 2.6667
a missing folder|sweep --vary R=0:1:2 --output rows.csv --plot nowhere/p.png 5 10 28 2.6667
history over a picture|history --plot taken.png 5 10 28 2.6667
TABLE
  expect "the rows' file was not made either" '[ ! -e rows.svg ]'

  # plot draws what veltrano-cli wrote, whole, joined or resumed.
  "$cli" history --errors --batch 10 300 10 28 2.6667 > history.csv
  "$cli" sweep --vary R=0:250:30 --errors --batch 5 100 10 28 2.6667 > errors.csv
  for f in history errors grid joined good; do
    "$cli" plot $f.csv $f.png
    expect "plot of $f.csv" '[ $? = 0 ] && [ "$(head -c 4 $f.png | tail -c 3)" = PNG ]'
  done
  "$cli" plot grid.csv grid.svg
  expect "plot to SVG" 'grep -q "<svg" grid.svg'
  "$cli" plot grid.csv grid.png 2> /dev/null
  expect "plot never overwrites" '[ $? = 2 ]'
  for f in forged:digit.csv header:otherheader.csv text:refused.txt; do
    "$cli" plot "${f#*:}" "${f%%:*}.png" 2> /dev/null
    expect "plot refuses what is not ours (${f%%:*})" '[ $? = 2 ] && [ ! -e ${f%%:*}.png ]'
  done
fi

finish
