#!/usr/bin/env bash
# The research options of history and sweep as scripts use them: refused
# values, the defaults byte for byte as before, every row the same whatever
# the form, target errors, and resume refusing a file made with other
# options.
#   research_checks.sh <veltrano-cli>
set -u
source "$(dirname "$0")/checks.sh"

# A refused value: status 2, one message naming the option, nothing written,
# in both forms.
in_both_forms() {
  while IFS='|' read -r option args; do
    echo "sweep $args|sweep --output out.csv $args 5 10 28 2.6667|$option"
    echo "history $args|history $args 5 10 28 2.6667|$option"
  done
}
lines=1 refusals < <(in_both_forms <<TABLE
--transient|--transient -1
--transient|--transient 1.5
--transient|--transient 1000000001
--initial|--initial 1,1
--initial|--initial 1,1,1,1
--initial|--initial 1,x,1
--initial|--initial 1e3,1,1
--initial|--initial 1,,1
--step|--step 0
--step|--step -0.01
--step|--step 1e-3
--step|--step .
--steps-per-interval|--steps-per-interval 0
--batch|--batch 0
--target-error|--target-error 0
--target-error|--target-error -.5
TABLE
)
"$cli" sweep 1000000001 10 28 2.6667 > /dev/null 2> big.txt
expect "N beyond 10^9 refused" '[ $? = 2 ] && grep -qx "Deve essere N <= 1000000000" big.txt'

# The defaults written out change nothing, to the byte.
base=(--vary R=0:250:17 40 10 28 2.6667)
"$cli" sweep "${base[@]}" > plain.csv
"$cli" sweep "${base[@]}" --transient 0 --initial 1,1,1 --step 0.01 --steps-per-interval 20 --batch 500 > explicit.csv
expect "defaults written out = no options" 'cmp -s plain.csv explicit.csv'

# One research run as a sweep row, as the last history row, and as a row of
# a larger sweep on other lanes and threads: the same numbers.
opts=(--transient 30 --initial -3,2,25 --step 0.005 --steps-per-interval 13 --errors --batch 20)
"$cli" sweep "${opts[@]}" 400 10 28 2.6667 > one.csv
"$cli" history "${opts[@]}" --every 400 400 10 28 2.6667 > history.csv
"$cli" sweep "${opts[@]}" --vary R=26:30:3 --threads 2 400 10 28 2.6667 > three.csv
one=$(tail -1 one.csv | cut -d, -f5-8,12-14)
expect "a sweep row = the last history row" '[ "$one" = "$(tail -1 history.csv | cut -d, -f2-8)" ]'
expect "... = the middle row of a line on other lanes" '[ "$one" = "$(sed -n 3p three.csv | cut -d, -f5-8,12-14)" ]'
expect "the half-widths are there" '[ -n "$(tail -1 one.csv | cut -d, -f12)" ]'
expect "the header gains intervals and the half-widths" '[ "$(head -1 one.csv)" = "index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status,intervals,lambda1_err,lambda2_err,lambda3_err" ]'
expect "history's header gains the half-widths" '[ "$(head -1 history.csv)" = "interval,t,lambda1,lambda2,lambda3,lambda1_err,lambda2_err,lambda3_err" ]'

# A fault in the transient: history has no rows, the message, status 3; a
# sweep's row is an error at t = 0.
"$cli" history --transient 100 5 300 28 2.6667 > fault.csv 2> fault.err
expect "history: fault in the transient" '[ $? = 3 ] && [ $(wc -l < fault.csv) = 1 ] && [ "$(cat fault.err)" = "ERRORE NELLA ELABORAZIONE" ]'
"$cli" sweep --transient 100 5 300 28 2.6667 > fault.csv
expect "sweep: fault in the transient is an error at t = 0" '[ "$(tail -1 fault.csv)" = "0,300,28,2.6667000000000001,0,,,,,error" ]'

# With a target error each point stops at the end of a batch, and its row is
# the row of a run with N = the intervals it did.
"$cli" sweep --vary R=20:250:5 --target-error 0.05 --batch 50 20000 10 28 2.6667 > target.csv
while IFS=, read -r index sigma r b t l1 l2 l3 ky status intervals e1 e2 e3; do
  [ "$status" = ok ] || continue
  expect "row $index stopped at the end of a batch" '[ $((intervals % 50)) = 0 ] && [ "$intervals" -lt 20000 ]'
  expect "row $index: every half-width within the target" 'awk -v a="$e1" -v b="$e2" -v c="$e3" "BEGIN { exit !(a <= 0.05 && b <= 0.05 && c <= 0.05) }"'
  again=$("$cli" sweep --errors --batch 50 "$intervals" "$sigma" "$r" "$b" | tail -1 | cut -d, -f2-)
  expect "row $index = a run of N = $intervals" '[ "$again" = "$(grep "^$index," target.csv | cut -d, -f2-)" ]'
done < <(tail -n +2 target.csv)

# A file made with other options is refused, untouched.
"$cli" sweep "${base[@]}" --step 0.005 > other.csv
"$cli" sweep "${base[@]}" --errors > errors.csv
for pair in "other.csv:" "errors.csv:" "plain.csv:--transient 3" "plain.csv:--initial 1,1,2"; do
  file=${pair%%:*}
  head -n 10 "$file" > partial.csv
  before=$(md5sum < partial.csv)
  "$cli" sweep "${base[@]}" ${pair#*:} --output partial.csv --resume 2> /dev/null
  expect "resume with other options than $file's (${pair#*:}): refused untouched" '[ $? = 2 ] && [ "$(md5sum < partial.csv)" = "$before" ]'
done
head -n 10 errors.csv > partial.csv
"$cli" sweep "${base[@]}" --errors --output partial.csv --resume
expect "resume with the same options completes the file" 'cmp -s partial.csv errors.csv'

finish
