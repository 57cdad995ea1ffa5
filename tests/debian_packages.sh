#!/usr/bin/env bash
# Builds the Debian packages from this build tree with CPack and has Debian's
# checker pass them: no error and no warning. Skipped (77) where lintian is
# not installed.
#   debian_packages.sh <build folder>
set -u
build=$1
command -v lintian > /dev/null || { echo "lintian is not installed"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# lintian keeps its caches of the binaries (mldbm-elf-*) in TMPDIR and leaves
# them there: in the folder removed at the end.
export TMPDIR=$out
cpack --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
status=0
for deb in "$out"/*.deb; do
  echo "== $(basename "$deb")"
  lintian --pedantic --fail-on error,warning "$deb" 2>&1 | grep -v "running with root privileges" || true
  lintian --pedantic --fail-on error,warning "$deb" > /dev/null 2>&1 || status=1
done
ls "$out"/*.deb > /dev/null 2>&1 || { echo "no package was made"; exit 1; }
exit $status
