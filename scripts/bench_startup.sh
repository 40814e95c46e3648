#!/usr/bin/env bash
# Start-up cost of the desktop host: time from process start to the first
# paint of the demo window, and the resident memory then, against a plain
# GTK window started the same way (same binary, same settings, no
# framework). Runs both alternately several times and prints the medians.
# Targets: time within 1.5 times, memory within 15 MB of the plain window.
#   scripts/bench_startup.sh [RUNS]      (default 9)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OLVO_BUILD_DIR:-$root/build}
runs=${1:-9}

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target olvo-demo >/dev/null

xvfb=""
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 160 190); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    break
  done
fi
export GSETTINGS_BACKEND=memory

demo="$build/bin/olvo-demo"
measure() {  # prints "ms mb"
  OLVO_LAUNCH_NS=$(date +%s%N) "$demo" "$@" --measure-startup |
    sed -n 's/.*first_paint_ms=\([0-9.]*\) rss_mb=\([0-9.]*\).*/\1 \2/p'
}
# One warm-up each so that both find the fonts and libraries in the cache.
measure >/dev/null; measure --empty-gtk-window >/dev/null
: >/tmp/olvo-bench-demo.$$; : >/tmp/olvo-bench-empty.$$
for _ in $(seq "$runs"); do
  measure >>/tmp/olvo-bench-demo.$$
  measure --empty-gtk-window >>/tmp/olvo-bench-empty.$$
done
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
demo_ms=$(cut -d' ' -f1 /tmp/olvo-bench-demo.$$ | median)
demo_mb=$(cut -d' ' -f2 /tmp/olvo-bench-demo.$$ | median)
empty_ms=$(cut -d' ' -f1 /tmp/olvo-bench-empty.$$ | median)
empty_mb=$(cut -d' ' -f2 /tmp/olvo-bench-empty.$$ | median)
rm -f /tmp/olvo-bench-demo.$$ /tmp/olvo-bench-empty.$$

awk -v dm="$demo_ms" -v dr="$demo_mb" -v em="$empty_ms" -v er="$empty_mb" -v n="$runs" 'BEGIN {
  ratio = dm / em; extra = dr - er
  printf "runs: %d each (medians)\n", n
  printf "plain GTK window: first paint %.1f ms, resident %.1f MB\n", em, er
  printf "demo window:      first paint %.1f ms, resident %.1f MB\n", dm, dr
  printf "time ratio %.2f (target <= 1.50): %s\n", ratio, ratio <= 1.5 ? "met" : "MISSED"
  printf "memory +%.1f MB (target <= 15 MB): %s\n", extra, extra <= 15 ? "met" : "MISSED"
}'
