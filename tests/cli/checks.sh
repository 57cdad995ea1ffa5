# What the command-line checks share, sourced by each: a scratch folder that
# is removed at the end (with any job still running), and the counting of
# checks. `expect WHAT CONDITION` counts CONDITION's outcome under WHAT;
# `finish` prints the closing line and sets the status.
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
