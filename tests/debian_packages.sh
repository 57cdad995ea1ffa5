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
ls "$out"/*.deb > /dev/null 2>&1 || { echo "no package was made"; exit 1; }
# One lintian run for all the packages (its start is most of its time): its
# report, each tag named with its package, shown; its status kept.
(cd "$out" && ls *.deb)
status=0
# GCC's JIT library is opened by name when equations are first compiled, not
# linked, so no tool finds it: every package whose programs open it names it.
if grep -qF libgccjit.so.0 "$build/cli/veltrano-cli"; then
  for deb in "$out"/*.deb; do
    depends=$(dpkg-deb -f "$deb" Depends)
    [[ $depends == *"libgccjit0 (>= 12)"* ]] || { echo "$(basename "$deb") does not depend on libgccjit0: $depends"; status=1; }
  done
fi
lintian --pedantic --fail-on error,warning "$out"/*.deb > "$out/lintian.log" 2>&1 || status=1
grep -v "running with root privileges" "$out/lintian.log"
exit $status
