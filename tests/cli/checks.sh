# What the command-line checks share, sourced by each with veltrano-cli's
# path as $1: the tool as $cli, a scratch folder that is removed at the end
# (with any job still running), running the tool, tables of refusals, and
# the counting of checks. `expect WHAT CONDITION` counts CONDITION's outcome
# under WHAT; `finish` prints the closing line and sets the status.
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'kill $(jobs -p) 2> /dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
passed=0 failed=0
ok() { passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
expect() { if eval "$2"; then ok; else fail "$1"; fi; }
finish() {
  echo "$passed passed, $failed failed"
  [ $failed = 0 ]
}
sum() { md5sum < "$1"; }
# Intervals for a sweep that must still be computing a moment after it
# starts (to be killed, or to hold its file against a second writer): set by
# the build, as the sanitizers run the engine some twelve times slower.
long=${LONG_INTERVALS:-9999}

# run ARGS...: the tool with ARGS as a shell word list (quotes and $vars
# allowed); its status in $status, its output in out.txt and err.txt.
run() {
  eval "\"\$cli\" $*" > out.txt 2> err.txt
  status=$?
}

# refusals: a table on standard input, one refusal a line,
#   WHAT|ARGS|MESSAGE
# each run with status 2, nothing on standard output, MESSAGE on the first
# line of standard error (at most $lines lines, 2 unless set), and none of
# out.csv, p.png created. $before, when set, is a word list put before ARGS.
# Where the tool draws no pictures ($plots 0) it refuses --plot so.
refusals() {
  local what args message
  while IFS='|' read -r what args message; do
    if [ "${plots:-1}" = 0 ] && [[ $args == *--plot* ]]; then message="without Qt"; fi
    rm -f out.csv p.png
    run "${before:-}" "$args"
    expect "$what: status 2" '[ $status = 2 ]'
    expect "$what: $message" '[ $(wc -l < err.txt) -le ${lines:-2} ] && head -1 err.txt | grep -qF -- "$message"'
    expect "$what: nothing written" '[ ! -s out.txt ] && [ ! -e out.csv ] && [ ! -e p.png ]'
  done
}

# outputs: a table on standard input, one run a line,
#   WHAT|ARGS|STATUS|STDOUT|STDERR
# STDOUT and STDERR are extended regular expressions over the whole text,
# its tabs and newlines shown as " " and ";".
outputs() {
  local what args want stdout stderr
  while IFS='|' read -r what args want stdout stderr; do
    run "$args"
    expect "$what: status $want" '[ $status = "$want" ]'
    expect "$what: standard output" '[[ "$(tr "\t\n" " ;" < out.txt)" =~ $stdout ]]'
    expect "$what: standard error" '[[ "$(tr "\t\n" " ;" < err.txt)" =~ $stderr ]]'
  done
}
