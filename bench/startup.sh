#!/usr/bin/env bash
# Start-up time under X: from process start until the window is mapped and
# visible, for the program and for a bare Qt window of the same size; and
# the program's peak memory after one computation at n = 9999.
#   bench/startup.sh build/release   (needs Xvfb and xdotool; uses :77)
set -euo pipefail
build=${1:-build/release}
runs=${RUNS:-20}
export DISPLAY=:77
Xvfb :77 -screen 0 1024x768x24 -dpi 96 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb' EXIT
until xdotool getmouselocation >/dev/null 2>&1; do sleep 0.1; done

# Waits until a visible window has the title, or fails after 10 s.
wait_for_window() {
    local deadline=$(( $(date +%s) + 10 ))
    until xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
        (( $(date +%s) < deadline )) || { echo "no window '$1'" >&2; return 1; }
        sleep 0.002  # leave the CPU to the program being measured
    done
}

# Prints the milliseconds from process start until its window is visible.
startup_ms() {  # program, window title
    local start end pid
    start=$(date +%s%N)
    "$1" >/dev/null 2>&1 &
    pid=$!
    if wait_for_window "$2"; then
        end=$(date +%s%N)
        echo $(( (end - start) / 1000000 ))
    fi
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
}

summary() { sort -n | awk '{a[NR]=$1} END {printf "median %d ms (min %d, max %d) over %d runs\n", a[int((NR+1)/2)], a[1], a[NR], NR}'; }

# The two programs take turns, so that both meet the same conditions.
bare=() velt=()
for _ in $(seq "$runs"); do
    bare+=($(startup_ms "$build/bench/bare_window" '^ Bare$'))
    velt+=($(startup_ms "$build/app/veltrano" '^ Veltrano$'))
done
echo "bare Qt window: $(printf '%s\n' "${bare[@]}" | summary)"
echo "Veltrano:       $(printf '%s\n' "${velt[@]}" | summary)"

"$build/app/veltrano" >/dev/null 2>&1 &
pid=$!
wait_for_window '^ Veltrano$'
wid=$(xdotool search --onlyvisible --name '^ Veltrano$' | head -1)
xdotool mousemove --window "$wid" 50 55 click --repeat 3 1 type 9999   # select n, type 9999
xdotool mousemove --window "$wid" 70 120 click 1                      # CALCOLA
sleep 2
echo "Veltrano peak memory after a run at n = 9999: $(awk '/VmHWM/ {printf "%.1f MB", $2/1024}' /proc/$pid/status)"
kill "$pid"
