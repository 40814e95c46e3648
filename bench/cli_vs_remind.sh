#!/usr/bin/env bash
# olvoctl against remind, the long-established Unix reminder tool, on the
# same 10,000 reminders (daily, weekly, monthly and yearly mixed): the time
# `olvoctl --data FILE list` takes against `remind -n FILE` (each lists
# every reminder's next occurrence), and the peak resident memory of both.
# Targets: olvoctl within half of remind's time, under 16 MB resident.
#   bench/cli_vs_remind.sh [ROUNDS]    (default 5 rounds of 10 runs each)
# Installs remind, hyperfine and time when missing; builds olvoctl and the
# data generator into $OLVO_BUILD_DIR (default build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OLVO_BUILD_DIR:-$root/build}
rounds=${1:-5}
runs_per_round=10
rss_runs=5
count=10000
# One fixed moment for both tools, so that they list the same occurrences
# whatever the day of the run.
now_date=2026-03-15
now_time=12:00

fail() { echo "cli_vs_remind: $*" >&2; exit 1; }
[[ $rounds =~ ^[1-9][0-9]*$ ]] || fail "ROUNDS must be a positive number"

# --- tools ----------------------------------------------------------------
missing=()
for p in remind hyperfine time; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || fail "missing ${missing[*]} and not root (no sudo)"
    SUDO="sudo"
  fi
  echo "cli_vs_remind: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi
command -v python3 >/dev/null 2>&1 || fail "python3 is needed to read the results"

# --- build ----------------------------------------------------------------
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target olvoctl make_cli_bench_data >/dev/null
olvoctl="$build/bin/olvoctl"
[ -x "$olvoctl" ] || fail "$olvoctl was not built"

# --- inputs ---------------------------------------------------------------
work=$(mktemp -d "${TMPDIR:-/tmp}/olvo-cli-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
data="$work/ov_rmind_data.dat"
script="$work/reminders.rem"
"$build/bin/make_cli_bench_data" "$data" "$script" "$count"

olvo_cmd=("$olvoctl" --data "$data" --now "$now_date $now_time:00" list)
remind_cmd=(remind -n "$script" "$now_date@$now_time")

# Both must list every reminder with a next occurrence, or the comparison
# means nothing.
olvo_next=$("$olvoctl" --data "$data" --now "$now_date $now_time:00" list --json | python3 -c '
import json, sys
print(sum(1 for r in json.load(sys.stdin)["reminders"] if r.get("next") is not None))')
[ "$olvo_next" -eq "$count" ] || fail "olvoctl lists $olvo_next next occurrences, expected $count"
remind_lines=$("${remind_cmd[@]}" 2>"$work/remind.err" | wc -l)
[ "$remind_lines" -eq "$count" ] ||
  fail "remind -n prints $remind_lines lines, expected $count: $(head -c 300 "$work/remind.err")"
[ -s "$work/remind.err" ] && fail "remind reports problems: $(head -c 300 "$work/remind.err")"
"${olvo_cmd[@]}" >/dev/null || fail "olvoctl list failed"

# --- time -----------------------------------------------------------------
# Rounds take turns on which tool goes first, so that a slow spell of the
# machine falls on both; every run of every round counts in the median.
olvo_line=$(printf '%q ' "${olvo_cmd[@]}")
remind_line=$(printf '%q ' "${remind_cmd[@]}")
for r in $(seq "$rounds"); do
  if (( r % 2 )); then order=(-n olvoctl "$olvo_line" -n remind "$remind_line")
  else order=(-n remind "$remind_line" -n olvoctl "$olvo_line"); fi
  hyperfine -N --style none --warmup 3 --runs "$runs_per_round" --output null \
    --export-json "$work/round-$r.json" "${order[@]}" >/dev/null
done

read -r olvo_ms remind_ms < <(python3 - "$work" "$rounds" <<'EOF'
import json, statistics, sys
work, rounds = sys.argv[1], int(sys.argv[2])
times = {"olvoctl": [], "remind": []}
for r in range(1, rounds + 1):
    for result in json.load(open(f"{work}/round-{r}.json"))["results"]:
        times[result["command"]] += result["times"]
print(f'{statistics.median(times["olvoctl"]) * 1000:.2f} {statistics.median(times["remind"]) * 1000:.2f}')
EOF
)
[ -n "${remind_ms:-}" ] || fail "no timings in the hyperfine results"

# --- memory ---------------------------------------------------------------
peak_kb() {  # maximum resident set size of one run, in kB
  /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): *//p'
}
: >"$work/olvo.rss"; : >"$work/remind.rss"
for _ in $(seq "$rss_runs"); do
  peak_kb "${olvo_cmd[@]}" >>"$work/olvo.rss"
  peak_kb "${remind_cmd[@]}" >>"$work/remind.rss"
done
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
olvo_kb=$(median <"$work/olvo.rss")
remind_kb=$(median <"$work/remind.rss")
[ -n "$olvo_kb" ] && [ -n "$remind_kb" ] || fail "/usr/bin/time -v gave no resident set size"

awk -v om="$olvo_ms" -v rm="$remind_ms" -v ok="$olvo_kb" -v rk="$remind_kb" -v n="$count" \
    -v runs="$((rounds * runs_per_round))" -v rss="$rss_runs" -v size="$(stat -c %s "$data")" 'BEGIN {
  ratio = om / rm; omb = ok / 1024
  printf "%d reminders (data file %.2f MB), %d timed runs each, median peak memory of %d runs\n", n, size / 1e6, runs, rss
  printf "remind -n:     %8.2f ms, peak resident %6.1f MB\n", rm, rk / 1024
  printf "olvoctl list:  %8.2f ms, peak resident %6.1f MB\n", om, omb
  printf "time ratio olvoctl / remind %.2f (target <= 0.50): %s\n", ratio, ratio <= 0.5 ? "met" : "MISSED"
  printf "olvoctl peak resident %.1f MB (target < 16 MB): %s\n", omb, omb < 16 ? "met" : "MISSED"
}'
