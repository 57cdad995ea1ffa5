#!/usr/bin/env bash
# Installs this build tree as `cmake --install` does, under /usr (the
# packages' prefix) and under /usr/local (the default), each into a temporary
# root, and checks what a user then meets: python3 finds the module among the
# folders it searches for that prefix, and the installed veltrano-cli finds
# its plotting plugin (when the build has one: `draws`). The roots are
# removed at the end.
#   installed_tree.sh <build folder> <python3> [draws]
set -u
build=$1
python=$2
draws=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for prefix in /usr /usr/local; do
  root=$work/root${prefix//\//-}
  if ! DESTDIR=$root cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1; then
    cat "$work/install.log"
    exit 1
  fi
  # The folders python3 searches when its prefix is /usr (as Debian's is),
  # moved into the root; the module must be under the prefix installed.
  module=$("$python" -I -c '
import site, sys
sys.path[:0] = site.getsitepackages([sys.argv[1] + "/usr"])
import veltrano
print(veltrano.__file__)' "$root" 2>&1)
  case $module in
    "$root$prefix"/*) echo "ok: --prefix $prefix: import veltrano from ${module#"$root"}" ;;
    *) echo "FAILED: --prefix $prefix: import veltrano: $module"; status=1 ;;
  esac
  [ -f "$(dirname "$module")/veltrano.pyi" ] || { echo "FAILED: --prefix $prefix: no veltrano.pyi beside the module"; status=1; }
  if [ "$draws" = draws ]; then
    if "$root$prefix/bin/veltrano-cli" history --plot "$work/h${prefix//\//-}.png" 3 10 28 2.6667 > /dev/null 2> "$work/plot.err" \
       && [ -s "$work/h${prefix//\//-}.png" ]; then
      echo "ok: --prefix $prefix: the installed veltrano-cli draws"
    else
      echo "FAILED: --prefix $prefix: the installed veltrano-cli cannot draw: $(cat "$work/plot.err")"
      status=1
    fi
  fi
done
exit $status
