#!/usr/bin/env bash
# Every test, as the workflows "ci" and "sanitize" run them, the two side by
# side so that both cores stay busy from the first compile to the last test:
# the optimised build and its tests in the foreground, the sanitizer build
# and its tests beside them, their output in build/sanitize-build.log and
# build/sanitize-tests.log (the tests' log shown at the end, the build's
# whole if it fails). Every stage runs even when an earlier test fails; a
# failed build skips only its own tests. The status is 0 only if every
# build and every test passed.
set -uo pipefail
cd "$(dirname "$0")/.."

cmake --preset ci && cmake --preset sanitize || exit 1

mkdir -p build
build_log=build/sanitize-build.log
tests_log=build/sanitize-tests.log
rm -f "$build_log" "$tests_log"
(
  cmake --build --preset sanitize > "$build_log" 2>&1 || exit 2
  ctest --preset sanitize > "$tests_log" 2>&1 || exit 1
) &
sanitizer=$!

status=0
if cmake --build --preset ci; then
  ctest --preset ci || status=1
else
  echo "run-checks: the optimised build failed (above); its tests are not run" >&2
  status=1
fi

wait "$sanitizer"
case $? in
  0) cat "$tests_log" ;;
  2) cat "$build_log" >&2
     echo "run-checks: the sanitizer build failed (above, and in $build_log)" >&2
     status=1 ;;
  *) cat "$tests_log"
     echo "run-checks: tests failed under the sanitizers (above, and in $tests_log)" >&2
     status=1 ;;
esac
exit "$status"
