#!/usr/bin/env bash
# Takes the README's screenshots of the Explorer under Xvfb, at 100 % and
# 200 %: the whole map, a zoomed map with undecided points, and a zoomed map
# with the panel of one point open; then the whole screen of a laptop
# (1366 x 768) and of a desktop (1920 x 1080), at 100 % and 200 %, with the
# window as it opens there and the panel of one point open; last, chosen by
# the keyboard, another flow of the catalogue and the editor of typed
# equations with a mistake, at 100 % and 200 %.
#   tools/explorer-screenshots.sh <build folder> <folder for the pictures>
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The settings the window starts from: those of its last session.
session() {  # sigma-from sigma-to R-from R-to
  mkdir -p "$work/config/Torvessa"
  cat > "$work/config/Torvessa/Veltrano.conf" <<CONF
[explorer]
shown=0
x/parameter=0
x/from=$1
x/to=$2
x/count=240
y/parameter=1
y/from=$3
y/to=$4
y/count=180
sigma=10
R=28
b=2.6667
n=1000
transient=0
initialX=1
initialY=1
initialZ=1
step=0.01
stepsPerInterval=20
errors=true
batch=100
targetError=0
CONF
}

shoot() {  # name scale seconds [click]
  local name=$1 scale=$2 wait=$3 click=${4:-}
  XDG_CONFIG_HOME="$work/config" QT_SCALE_FACTOR=$scale LANG=en_GB.UTF-8 \
    xvfb-run -a -s "-screen 0 2600x1700x24" bash -c "
      '$build/app/veltrano-explorer' & pid=\$!
      sleep $wait
      id=\$(xdotool search --sync --pid \$pid --onlyvisible --name Explorer | head -1)
      xdotool windowmove \$id 0 0; sleep 1
      if [ -n '$click' ]; then xdotool mousemove $click click 1; sleep $wait; fi
      import -window \$id '$out/$name.png'
      kill \$pid"
  echo "$out/$name.png"
}

session 0 40 0 200;  shoot explorer-map 1 25;  shoot explorer-map-200 2 25
session 28 40 40 160; shoot explorer-zoom 1 25; shoot explorer-zoom-200 2 25
shoot point-panel-in-explorer 1 25 "700 300"


screen() {  # name screen-size scale seconds
  local name=$1 size=$2 scale=$3 wait=$4
  XDG_CONFIG_HOME="$work/config" QT_SCALE_FACTOR=$scale LANG=en_GB.UTF-8 \
    xvfb-run -a -s "-screen 0 ${size}x24" bash -c "
      '$build/app/veltrano-explorer' & pid=\$!
      sleep $wait
      id=\$(xdotool search --sync --pid \$pid --onlyvisible --name Explorer | head -1)
      eval \$(xdotool getwindowgeometry --shell \$id)
      # A point a little right of the map's middle.
      xdotool mousemove --window \$id \$((WIDTH * 3 / 5)) \$((HEIGHT * 2 / 5)) click 1; sleep $wait
      import -window root '$out/$name.png'
      kill \$pid"
  echo "$out/$name.png"
}

session 28 40 40 160
screen explorer-1366x768 1366x768 1 20;  screen explorer-1366x768-200 1366x768 2 20
screen explorer-1920x1080 1920x1080 1 20; screen explorer-1920x1080-200 1920x1080 2 20


keyed() {  # name scale seconds window xdotool-commands...
  local name=$1 scale=$2 wait=$3 window=$4
  shift 4
  XDG_CONFIG_HOME="$work/config" QT_SCALE_FACTOR=$scale LANG=en_GB.UTF-8 \
    xvfb-run -a -s "-screen 0 2600x1700x24" bash -c "
      '$build/app/veltrano-explorer' & pid=\$!
      sleep $wait
      id=\$(xdotool search --sync --pid \$pid --onlyvisible --name Explorer | head -1)
      xdotool windowmove \$id 0 0 windowfocus \$id; sleep 1
      xdotool $*; sleep $wait
      id=\$(xdotool search --all --sync --pid \$pid --onlyvisible --name '$window' | head -1)
      import -window \$id '$out/$name.png'
      kill \$pid"
  echo "$out/$name.png"
}

# Alt+Y is the System list; Lorenz-96 is twelve entries down, the editor the last.
lorenz96="key alt+y sleep 0.5 key --delay 200 Down Down Down Down Down Down Down Down Down Down Down Down"
mistake="key alt+y sleep 0.5 key End sleep 3 key ctrl+End Return y apostrophe space equal space asterisk sleep 1"
keyed explorer-lorenz96 1 20 Explorer "$lorenz96"; keyed explorer-lorenz96-200 2 20 Explorer "$lorenz96"
keyed equations-editor 1 10 "Your equations" "$mistake"; keyed equations-editor-200 2 10 "Your equations" "$mistake"
