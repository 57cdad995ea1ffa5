#!/usr/bin/env bash
# What happens around a sweep: one writer per file, pictures that never
# replace a file, resume that keeps only rows this program could have
# written, failed writes reported, help for every form, joins of shards and
# pictures drawn afterwards. Runs veltrano-cli as separate processes.
#   file_safety_checks.sh <veltrano-cli> <plots: 0|1>
set -u
plots=$2
source "$(dirname "$0")/checks.sh"

# One writer per file: while a sweep writes a.csv, a second one is refused
# at once, whether it continues the file or not; the file stays a clean
# prefix that resumes to the uninterrupted sweep.
writing=(sweep --vary R=0:250:200 --threads 1 --no-progress $long 10 28 2.6667)
"$cli" "${writing[@]}" --output a.csv &
writer=$!
for _ in $(seq 200); do [ "$(wc -l < a.csv 2> /dev/null || echo 0)" -ge 2 ] && break; sleep 0.05; done
"$cli" "${writing[@]}" --output a.csv --resume 2> second.err
status=$?
expect "a second writer is refused (status 2)" '[ $status = 2 ] && grep -q "a.csv is being written by another process" second.err'
"$cli" "${writing[@]}" --output a.csv 2> /dev/null
expect "a second sweep without --resume is refused too" '[ $? = 2 ]'
kill -KILL $writer 2> /dev/null
wait $writer 2> /dev/null
"$cli" "${writing[@]}" --output a.csv --resume
"$cli" sweep --vary R=0:250:200 --threads 2 $long 10 28 2.6667 > whole-a.csv
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
  for args in "5 10 28 2.6667" "--help" "history 5 10 28 2.6667" "${sweep[*]}"; do
    "$cli" $args > /dev/full 2> full.err
    expect "$args to a full disk: status 1 and a message" '[ $? = 1 ] && grep -q "cannot write" full.err'
  done
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
cp grid.csv whole-1.csv
"$cli" join "${grid[@]}" --shards 1 --input 'whole-{K}.csv' > one-shard.csv
expect "join of the one shard of a sweep not split" '[ $? = 0 ] && cmp -s one-shard.csv grid.csv'
"$cli" join "${grid[@]}" --shards 1 --input 'whole-1.csv' > no-k.csv 2> no-k.err
expect "join refuses a pattern without {K}" '[ $? = 2 ] && [ "$(cat no-k.err)" = "veltrano-cli join: --input whole-1.csv: the pattern must hold {K}, where the shard'"'"'s number stands" ] && [ ! -s no-k.csv ]'
if [ -w /dev/full ]; then
  "$cli" join "${grid[@]}" --shards 4 --input 'shard-{K}.csv' > /dev/full 2> full.err
  expect "join to a full disk: status 1" '[ $? = 1 ] && grep -q "cannot write the rows to standard output" full.err'
fi
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

# --resume recomputes rows spread over the rows the file holds and its last
# row, checks every row's index and, with no recomputation, that every ok row
# has the run's t. Each forged row below is well-formed.
big=(sweep --vary R=0:250:1000 --no-progress 5 10 28 2.6667)
"$cli" "${big[@]}" --output big.csv
head -n 101 big.csv > part100.csv
as_error() { sed -E "$(($1 + 2))s/^([^,]*,[^,]*,[^,]*,[^,]*,[^,]*),.*,ok$/\1,,,,,error/" part100.csv; }
as_error 48 > middle.csv
as_error 99 > last.csv
sed "32s/^30,/31,/" part100.csv > index.csv
t=$(sed -n 2p part100.csv | cut -d, -f5)
sed "35s/,$t,/,0.5,/" part100.csv > t.csv
while IFS='|' read -r what file message; do
  before=$(sum $file)
  "$cli" "${big[@]}" --output $file --resume 2> refused.txt
  status=$?
  expect "resume refuses $what" '[ $status = 2 ] && grep -qF "$message" refused.txt && [ "$(sum $file)" = "$before" ]'
done <<TABLE
a changed row in the middle of the rows present|middle.csv|(row 48 differs from what it computes)
a changed last row|last.csv|(row 99 differs from what it computes)
a row with another index|index.csv|(row 30 does not belong to it)
a row with another t|t.csv|(row 33 is not of the same run as the rows before it)
TABLE
"$cli" "${big[@]}" --output part100.csv --resume
expect "the unforged 100 rows resume to the whole" 'cmp -s part100.csv big.csv'

# A device is written as it is.
"$cli" "${sweep[@]}" --output /dev/null
expect "sweep --output /dev/null" '[ $? = 0 ]'

# A closed pipe is a failed write: status 1 and the same words in both forms.
for form in "sweep --vary R=0:250:3000 --threads 1" "history"; do
  { $cli $form $long 10 28 2.6667 2> pipe.err; echo $? > pipe.status; } | head -c 1 > /dev/null
  expect "$form into a closed pipe: status 1, said" '[ "$(cat pipe.status)" = 1 ] && grep -q "^veltrano-cli ${form%% *}: cannot write the rows to standard output: Broken pipe$" pipe.err'
done

# join: shards named by a pattern with {K} twice, more of them than files may
# be open at once, checked and written beside the output.
mkdir -p many/run{1..1100}
"$cli" sweep --vary R=0:250:1100 1 10 28 2.6667 > many.csv
awk -F, 'NR == 1 { header = $0; next } { k = $1 + 1; f = "many/run" k "/part-" k ".csv"; print header > f; print > f; close(f) }' many.csv
(ulimit -n 1024 && "$cli" join --vary R=0:250:1100 1 10 28 2.6667 --shards 1100 --input 'many/run{K}/part-{K}.csv' --output many-joined.csv)
expect "join of 1100 shards under 1024 open files, {K} twice" '[ $? = 0 ] && cmp -s many-joined.csv many.csv'
expect "join leaves no temporary file" '[ -z "$(ls -A . | grep "^\.veltrano-")" ]'
"$cli" sweep --vary R=0:250:23 --vary b=1:4:3 40 10 28 2.6667 --shard 1/2 --output two-1.csv
"$cli" sweep --vary R=0:250:23 --vary b=1:4:3 40 10 28 2.6667 --shard 2/2 --output two-2.csv
"$cli" join "${grid[@]}" --shards 2 --input 'two-{K}.csv' --output /dev/null
expect "join --output /dev/null" '[ $? = 0 ]'
"$cli" join "${grid[@]}" --shards 3 --input 'two-{K}.csv' 2> join.err > out.csv
expect "join --shards 3 of a sweep split in 2 says so" '[ $? = 2 ] && grep -q "shard 1 of 3 (two-1.csv) has more rows than shard 1 of 3 holds (23); was the sweep split into 3 shards?" join.err && ! grep -q "more rows than this sweep" join.err && [ ! -s out.csv ]'
expect "... naming every shard at fault" '[ $(wc -l < join.err) = 3 ] && grep -q "shard 3 of 3 (two-3.csv) is missing" join.err'
cp shard-3.csv full-3.csv
while IFS='|' read -r what setup message; do
  eval "$setup"
  "$cli" join "${grid[@]}" --shards 4 --input 'shard-{K}.csv' --output none.csv 2> join.err
  status=$?
  expect "join refuses $what" '[ $status = 2 ] && grep -qF "shard 3 of 4 (shard-3.csv)$message" join.err && [ ! -e none.csv ]'
  rm -rf shard-3.csv; cp full-3.csv shard-3.csv
done <<TABLE
a row missing|sed -i 6d shard-3.csv|: shard-3.csv is not the output of this sweep (row 38 does not belong to it)
an unfinished line|truncate -s -1 shard-3.csv| is incomplete: it has 16 of its 17 rows and an unfinished line
a shard held by a writer|{ flock 9 && exec sleep 10; } 9< shard-3.csv > /dev/null 2>&1 & holder=\$!; sleep 0.5|: it is still being written
a folder|rm shard-3.csv; mkdir shard-3.csv| is a folder, not a shard's file
TABLE
kill $holder 2> /dev/null  # the lock's holder, and with it the lock

# Pictures: never over a file, never the rows' file, never into a missing
# folder, all refused before anything is computed or written.
if [ "$plots" = 1 ]; then
  echo "precious" > taken.png
  while IFS='|' read -r what args message; do
    rm -f rows.csv
    eval "\"\$cli\" $args" > out.txt 2> plot.err
    status=$?
    expect "$what: refused before any work" '[ $status = 2 ] && [ ! -s out.txt ] && [ ! -e rows.csv ] && [ "$(cat taken.png)" = precious ]'
    expect "$what: said" 'grep -qF "$message" plot.err'
  done <<TABLE
an existing picture|sweep --vary R=0:1:2 --output rows.csv --plot taken.png 5 10 28 2.6667|veltrano-cli sweep: --plot taken.png exists and is never overwritten
the rows' own file|sweep --vary R=0:1:2 --output rows.svg --plot rows.svg 5 10 28 2.6667|veltrano-cli sweep: --plot rows.svg names the file of the rows
a missing folder|sweep --vary R=0:1:2 --output rows.csv --plot nowhere/p.png 5 10 28 2.6667|veltrano-cli sweep: --plot nowhere/p.png: the folder nowhere does not exist
history over a picture|history --plot taken.png 5 10 28 2.6667|veltrano-cli history: --plot taken.png exists and is never overwritten
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
  # plot reads back what sweep and history write, and refuses the rest.
  "$cli" sweep --vary sigma=0:40:5 --vary R=28:28:3 5 10 28 2.6667 > degenerate.csv
  "$cli" plot degenerate.csv degenerate.png
  expect "plot of a grid whose fast axis holds one value" '[ $? = 0 ] && [ -s degenerate.png ]'
  "$cli" plot <(cat history.csv) piped-history.png
  expect "plot of a history through a pipe" '[ $? = 0 ] && [ -s piped-history.png ]'
  "$cli" history 20 10 28 2.6667 > h20.csv
  wide=$(sed -n 2p h20.csv | cut -d, -f1,2)
  while IFS='|' read -r what make message; do
    eval "$make" > bad.csv
    eval "timeout 20 \"\$cli\" plot $input bad.png" 2> plot.err
    status=$?
    expect "plot refuses $what" '[ $status = 2 ] && grep -qF "$message" plot.err && [ ! -e bad.png ]'
  done <<TABLE
a sweep through a pipe|input='<(cat grid.csv)'; true|cannot be read twice
a file without newlines|input=/dev/zero; true|is not a history or a sweep written by veltrano-cli
a history with t of 0|input=bad.csv; sed '3s/^2,[^,]*,/2,0,/' h20.csv|line 3 is not a row of a history
a history with the largest double|input=bad.csv; sed '3s/^\(2,[^,]*\),[^,]*,/\1,1.7976931348623157e+308,/' h20.csv|line 3 is not a row of a history
a history with a repeated interval|input=bad.csv; sed '3s/^2,/1,/' h20.csv|line 3 does not follow the row before it
a history with a decreasing t|input=bad.csv; sed "4s/^3,[^,]*,/3,${wide#*,},/" h20.csv|line 4 does not follow the row before it
a sweep with b off the grid|input=bad.csv; sed '5s/,2.6667000000000001,/,2.5,/' degenerate.csv|is not a line or a grid of a sweep
TABLE
  # After "--" every argument is a name as typed, even one like an option
  # given "=".
  "$cli" plot -- --in= dashes.png 2> dashes.err
  expect "a name after -- is taken as typed" '[ $? = 2 ] && [ "$(cat dashes.err)" = "veltrano-cli plot: cannot read --in=" ]'
  for f in forged:digit.csv header:otherheader.csv text:refused.txt; do
    "$cli" plot "${f#*:}" "${f%%:*}.png" 2> /dev/null
    expect "plot refuses what is not ours (${f%%:*})" '[ $? = 2 ] && [ ! -e ${f%%:*}.png ]'
  done
fi

finish
