#!/usr/bin/env bash
# Every test, as the workflows "ci" and "sanitize" run them one after the
# other, with one overlap so that both cores stay busy: the sanitizer build
# runs while the optimised build's tests run (its output goes to
# build/sanitize-build.log, shown whole if it fails). Every stage runs even
# when an earlier test fails; the status is 0 only if all of them passed.
set -uo pipefail
cd "$(dirname "$0")/.."

cmake --preset ci && cmake --preset sanitize || exit 1
cmake --build --preset ci || exit 1

mkdir -p build
log=build/sanitize-build.log
cmake --build --preset sanitize > "$log" 2>&1 &
sanitizer_build=$!

status=0
ctest --preset ci || status=1
if ! wait "$sanitizer_build"; then
  cat "$log" >&2
  echo "run-checks: the sanitizer build failed (above, and in $log)" >&2
  exit 1
fi
echo "run-checks: the sanitizer build is done ($log)"
ctest --preset sanitize || status=1
exit "$status"
