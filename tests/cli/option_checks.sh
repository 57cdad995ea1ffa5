#!/usr/bin/env bash
# The options of every form as a script meets them: an empty value is
# refused by each option of each form that has it (status 2, one message
# naming the option, nothing written), and the one-run form gives its help
# wherever --help or -h stands.
#   option_checks.sh <veltrano-cli>
set -u
source "$(dirname "$0")/checks.sh"

# The one-run form: the entries' results (t 20, lambda3 about -14.04
# without its trailing zero), the five messages in their order with status 2
# and nothing on standard output, an arithmetic error (the message once, the
# time reached, question marks, no seconds), usage and help.
zeros=$(printf '0%.0s' $(seq 200))
outputs <<'TABLE'
defaults|100 10 28 2.6667|0|^t 20;lambda1 0\.38[0-9]*;lambda2 -0\.00[0-9]*;lambda3 -14\.0[0-9]?[1-9];seconds [0-9]+(\.[0-9]+)?;$|^$
one interval|1 10 28 2.6667|0|^t 0\.2;lambda1 10\.7[0-9]*;lambda2 -18\.3[0-9]*;lambda3 -6\.0[0-9]*;seconds |^$
precise|--precise 1 10 28 2.6667|0|^t 0\.2000000000000000[0-9];lambda1 10\.[0-9]+;lambda2 -18\.[0-9]+;lambda3 -6\.[0-9]+;seconds |^$
n 0|0 10 28 2.6667|2|^$|^Valore Errato: il valore deve essere un intero positivo;$
sigma 1,5|20000 1,5 28 2.6667|2|^$|^Valore Errato: il valore di sigma deve essere un numero reale;$
R 2e1|100 10 2e1 2.6667|2|^$|^Valore Errato: il valore di R deve essere un numero reale;$
b with a space|100 10 28 "2 "|2|^$|^Valore Errato: il valore di b deve essere un numero reale;$
n 10000|10000 10 28 2.6667|2|^$|^Deve essere n < 10000;$
sigma not ASCII|100 σ 28 2.6667|2|^$|sigma
arithmetic error|100 1$zeros 28 2.6667|3|^t 0;lambda1 \?;lambda2 \?;lambda3 \?;$|^ERRORE NELLA ELABORAZIONE;$
three entries|1 2 3|1|^$|usage
help|--help|0|^Usage: veltrano-cli|^$
TABLE

# form|option|what else the form needs before N SIGMA R B ("-" for plot,
# which takes INPUT OUTPUT instead): the research options in each of the
# three forms that take them, then the options of one form.
needs_sweep="--output out.csv" needs_history="--plot out.png" needs_join="--shards 2 --input s{K}.csv --output out.csv"
{
  for form in sweep history join; do
    needs=needs_$form
    for option in --step --initial --target-error --batch --transient --steps-per-interval; do
      echo "$form|$option|${!needs}"
    done
  done
  cat <<TABLE
sweep|--threads|--output out.csv --threads 2
sweep|--shard|--output out.csv
sweep|--plot|--output out.csv
sweep|--output|--plot out.png
sweep|--vary|--output out.csv
history|--every|--plot out.png
history|--plot|
join|--vary|--shards 2 --input s{K}.csv --output out.csv
join|--shards|--input s{K}.csv --output out.csv
join|--input|--shards 2 --output out.csv
join|--output|--shards 2 --input s{K}.csv
plot|--exponent|
TABLE
} > table.txt
while IFS='|' read -r form option needs; do
  for spelling in "$option ''" "$option="; do
    rm -rf run && mkdir run && cd run || exit 1
    if [ "$form" = plot ]; then tail=(in.csv out.png); else tail=(5 10 28 2.6667); fi
    eval "\"\$cli\" $form $needs $spelling \"\${tail[@]}\"" > ../stdout.txt 2> ../stderr.txt
    status=$?
    cd .. || exit 1
    expect "$form $spelling: status 2" '[ $status = 2 ]'
    expect "$form $spelling: the message names the option" \
      '[ "$(head -1 stderr.txt)" = "veltrano-cli $form: $option: the value is empty" ] && [ $(grep -c "^veltrano-cli" stderr.txt) = 1 ]'
    expect "$form $spelling: nothing written" '[ ! -s stdout.txt ] && [ -z "$(ls -A run)" ]'
  done
done < table.txt
expect "every row of the table tried" '[ $(wc -l < table.txt) = 30 ]'

# Two refused options: the first in the order the rules check them is named,
# whether its text or its value is wrong.
lines=1 refusals <<TABLE
--step 0, then --batch abc|sweep --step 0 --batch abc 5 10 28 2.6667|veltrano-cli sweep: --step 0: H must
--batch abc, then --step 0|sweep --batch abc --step 0 5 10 28 2.6667|veltrano-cli sweep: --step 0: H must
--target-error x, then --transient|sweep --target-error x --transient 1000000001 5 10 28 2.6667|veltrano-cli sweep: --transient 1000000001: K must
--initial 1,2, then --step x|sweep --initial 1,2 --step x 5 10 28 2.6667|veltrano-cli sweep: --initial 1,2: expected
--batch 0, then --target-error x|sweep --batch 0 --target-error x 5 10 28 2.6667|veltrano-cli sweep: --batch 0: M must
TABLE
# The entries N SIGMA R B keep the window's message for an empty text; an
# unknown option given "=" is quoted as typed.
"$cli" sweep '' 10 28 2.6667 > /dev/null 2> entry.err
expect "an empty N: the window's message" '[ $? = 2 ] && [ "$(cat entry.err)" = "Valore Errato: il valore deve essere un intero positivo" ]'
"$cli" sweep --bogus= 5 10 28 2.6667 > /dev/null 2> bogus.err
expect "--bogus= quoted as typed" '[ $? = 2 ] && [ "$(head -1 bogus.err)" = "veltrano-cli sweep: The following argument was not expected: --bogus=" ]'

# The same options with a value are taken (the refusal above is the empty
# value's, not the option's).
"$cli" sweep --step 0.01 --threads 1 --shard 1/1 --vary R=28:28:1 5 10 28 2.6667 > taken.csv 2> taken.err
expect "sweep with every value given: status 0" '[ $? = 0 ] && [ $(wc -l < taken.csv) = 2 ] && [ ! -s taken.err ]'
"$cli" sweep --step=0.01 5 10 28 2.6667 > eq.csv 2> eq.err
expect "--step=0.01 is the step 0.01" '[ $? = 0 ] && cmp -s eq.csv taken.csv'

# The one-run form's help, wherever it is asked for; status 0, nothing on
# standard error, and the other forms pointed to.
while IFS= read -r args; do
  eval "\"\$cli\" $args" > help.txt 2> help.err
  status=$?
  expect "one-run help: $args" '[ $status = 0 ] && [ "$(head -1 help.txt)" = "Usage: veltrano-cli [--precise] N SIGMA R B" ] && grep -q "^One run:" help.txt && grep -q "veltrano-cli --help" help.txt && [ ! -s help.err ]'
  expect "one-run help: $args: not the whole help" '! grep -q "^  or:" help.txt && ! grep -q "^history, sweep and join" help.txt'
done <<TABLE
--precise --help
--precise -h
100 10 28 2.6667 -h
100 10 28 2.6667 --help
1 2 -h 3 4 5
--precise 100 --help 28 2.6667
TABLE
"$cli" --help > whole-help.txt
"$cli" -h > short-help.txt
expect "-h alone is the whole help, as --help" '[ $? = 0 ] && grep -q "^history, sweep and join" short-help.txt && cmp -s short-help.txt whole-help.txt'
# After "--" a form's --help and -h are entries, and no number.
for asked in --help -h; do
  "$cli" history 5 10 28 -- $asked > help.txt 2> help.err
  expect "history 5 10 28 -- $asked: B refused" '[ $? = 2 ] && [ ! -s help.txt ] && [ "$(cat help.err)" = "Valore Errato: il valore di b deve essere un numero reale" ]'
done
"$cli" --precise --help > /dev/full 2> full.err
expect "one-run help to a full disk: status 1 and the message" '[ $? = 1 ] && [ "$(cat full.err)" = "veltrano-cli: cannot write to standard output" ]'
# Without --help the same arguments are still a usage error.
"$cli" --precise 1 2 > usage.txt 2> usage.err
expect "--precise with three entries: usage error" '[ $? = 1 ] && [ ! -s usage.txt ] && grep -q "^usage:" usage.err'

# The help names every status a sweep row can have, and what inconsistent
# means.
for args in "--help" "sweep --help"; do
  "$cli" $args > help.txt
  for word in "status is ok" "or error for a point" "or inconsistent for a completed point" "misses -(sigma + 1 + b)" "keeps all its numbers" "ok or inconsistent with four result fields"; do
    expect "$args: \"$word\"" 'tr "\n" " " < help.txt | grep -qF -- "$word"'
  done
done

finish
