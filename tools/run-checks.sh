#!/usr/bin/env bash
# Every test, as the workflows "ci" and "sanitize" run them, the two side by
# side so that both cores stay busy from the first compile to the last test:
# the optimised build and its tests in the foreground, the sanitizer build
# and its tests beside them, their output in build/sanitize-build.log and
# build/sanitize-tests.log (the tests' log shown at the end, the build's
# whole if it fails). Every stage runs even when an earlier test fails; a
# failed build skips only its own tests. The tests' own tools (lintian,
# pytest, Dask, ...: setup-debian.sh --tests) are installed beside the
# builds where they are missing, which neither build needs; each build's
# tests wait for them. The status is 0 only if every build and every test
# passed.
set -uo pipefail
cd "$(dirname "$0")/.."

# The two builds share the cores through one pipe holding a byte per core:
# each compile takes one before it starts (compile-slot.sh), so that both
# together run as many compiles as there are cores, not twice as many, and
# the build still running gets every core once the other is done.
launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=$PWD/tools/compile-slot.sh
cmake --preset ci "$launcher" && cmake --preset sanitize "$launcher" || exit 1

mkdir -p build
slots=build/compile-slots
rm -f "$slots" && mkfifo "$slots" || exit 1
exec 7<> "$slots"
printf 'x%.0s' $(seq "$(nproc)") >&7
export VELTRANO_COMPILE_SLOTS=$PWD/$slots
build_log=build/sanitize-build.log
tests_log=build/sanitize-tests.log
tools_log=build/setup-tests.log
tools_lock=build/setup-tests.lock
tools_status=build/setup-tests.status
rm -f "$build_log" "$tests_log" "$tools_log" "$tools_status"

# The installer holds the lock until its status is written; apt and what it
# starts do not inherit it.
exec 8> "$tools_lock"
flock 8
(
  bash tools/setup-debian.sh --tests > "$tools_log" 2>&1 8>&-
  echo $? > "$tools_status"
) &
installer=$!
exec 8>&-

# Waits until the tests' tools are in; fails if they could not be installed.
tools_ready() {
  flock -s "$tools_lock" true
  [[ $(cat "$tools_status" 2>/dev/null) == 0 ]] && return 0
  echo "run-checks: the tests' tools could not be installed ($tools_log):" >&2
  cat "$tools_log" >&2
  return 1
}

(
  cmake --build --preset sanitize > "$build_log" 2>&1 || exit 2
  tools_ready 2> /dev/null || exit 3
  ctest --preset sanitize > "$tests_log" 2>&1 || exit 1
) &
sanitizer=$!

status=0
if cmake --build --preset ci; then
  if tools_ready; then
    ctest --preset ci || status=1
  else
    status=1
  fi
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
  3) echo "run-checks: without the tests' tools ($tools_log), the sanitizer tests were not run" >&2
     status=1 ;;
  *) cat "$tests_log"
     echo "run-checks: tests failed under the sanitizers (above, and in $tests_log)" >&2
     status=1 ;;
esac
wait "$installer"
exit "$status"
