#!/usr/bin/env bash
# Runs one compile (its command line is the arguments) once a slot is free,
# where VELTRANO_COMPILE_SLOTS names a pipe holding one byte per slot
# (run-checks.sh makes it, a byte per core, for both builds it runs side by
# side): the compile takes a byte and puts it back when it ends, so that the
# two builds together run no more compiles than there are cores, and the one
# still building gets every core when the other is done. Without that
# variable (a build run by hand), the compile runs at once.
if [[ -z ${VELTRANO_COMPILE_SLOTS:-} ]]; then
  exec "$@"
fi
if ! exec 9<> "$VELTRANO_COMPILE_SLOTS" || ! IFS= read -r -n 1 -u 9 slot; then
  echo "compile-slot: no slot to take from $VELTRANO_COMPILE_SLOTS" >&2
  exit 1
fi
"$@" 9>&-
status=$?
printf '%s' "${slot:-x}" >&9
exit "$status"
