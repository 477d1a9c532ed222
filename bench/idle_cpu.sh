#!/usr/bin/env bash
# CPU used by the real trainer at rest on a private X server, 20 s each:
# on the start screen, in a running stage (START clicked, nothing typed;
# beside three bare Qt programs running only a 10 ms precise timer over the
# same seconds) and after the finish. Prints one JSON object with the share of
# one core each used.
set -euo pipefail
build=${1:-build}
seconds=${VK_IDLE_SECONDS:-20}
display=:$((200 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset &>/dev/null &
xvfb=$!
trap 'kill $xvfb ${pid:-} ${bare:-} 2>/dev/null || true' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getdisplaygeometry &>/dev/null && break; sleep 0.1; done

# Nanoseconds on a CPU per thread ("tid ns" lines): the scheduler's own
# account, far finer than the 10 ms ticks of /proc/PID/stat.
cpu_ns() {
  for t in /proc/"$1"/task/*; do
    echo "${t##*/} $(awk '{print $1}' "$t/schedstat" 2>/dev/null || echo 0)"
  done
}

# CPU used between two readings: what each thread still there used since
# the first, plus all of a thread born since. (A thread that ended in
# between takes its account with it; summing totals would count that as
# negative time.)
used() {
  python3 - "$1" "$2" <<'PY'
import sys
def parse(text):
    return {int(t): int(n) for t, n in (l.split() for l in text.strip().splitlines() if l.strip())}
before, after = parse(sys.argv[1]), parse(sys.argv[2])
print(sum(n - before.get(t, 0) for t, n in after.items()))
PY
}

share() { python3 -c "print(round($(used "$1" "$2") / 1e9 / $seconds * 100, 3))"; }

# Builds of some earlier revisions left the program in src/app.
program=$build/vendrakul
[[ -x "$program" ]] || program=$build/src/app/vendrakul
"$program" &>/dev/null &
pid=$!
id=""
for _ in $(seq 100); do
  id=$(xdotool search --onlyvisible --name '^Kelvaris Ostravel$' 2>/dev/null | head -n1 || true)
  [[ -n "$id" ]] && break
  sleep 0.1
done
windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }
before=$(windows "$pid")
eval "$(xdotool getwindowgeometry --shell "$id")"

# The start screen, waiting for the user.
sleep 2
start0=$(cpu_ns "$pid")
sleep "$seconds"
start1=$(cpu_ns "$pid")

xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 190 + 60 + 22)) click 1
# START opens the exercise window (and the backdrop): more windows shown.
started=false
for _ in $(seq 50); do
  (( $(windows "$pid") > before )) && { started=true; break; }
  sleep 0.1
done

# Bare timers run beside the stage over the same seconds, so that whatever
# else the machine does weighs on all alike. Three of them: identical
# programs here differ by 10 to 20 % from one another (which process wakes while
# which other runs, on which core), so the floor is the middle one of the
# three, and how far apart they are is reported beside it.
# The seconds are also cut into slices, each giving its own ratio against
# the middle bare timer of that slice.
bare=""
for _ in 1 2 3; do
  "$build/bench/bench_bare_timer" &>/dev/null &
  bare="$bare $!"
  sleep 0.7
done
sleep 2
slices=${VK_IDLE_SLICES:-6}
ours0=$(cpu_ns "$pid")
declare -A bare0
for b in $bare; do bare0[$b]=$(cpu_ns "$b"); done
ratios=()
oursA=$ours0
declare -A bareA
for b in $bare; do bareA[$b]=${bare0[$b]}; done
for _ in $(seq "$slices"); do
  sleep "$(python3 -c "print($seconds / $slices)")"
  oursB=$(cpu_ns "$pid")
  slice_bare=()
  for b in $bare; do
    now=$(cpu_ns "$b")
    slice_bare+=("$(used "${bareA[$b]}" "$now")")
    bareA[$b]=$now
  done
  ratios+=("$(python3 -c "import statistics; print(round($(used "$oursA" "$oursB") / max(1, statistics.median([$(IFS=,; echo "${slice_bare[*]}")])), 3))")")
  oursA=$oursB
done
ours1=$oursA
bare_shares=()
for b in $bare; do bare_shares+=("$(share "${bare0[$b]}" "${bareA[$b]}")"); done
kill $bare; wait $bare 2>/dev/null || true
bare=""
median_ratio=$(IFS=,; python3 -c "import statistics; print(statistics.median([${ratios[*]}]))")
bare_share=$(IFS=,; python3 -c "import statistics; print(statistics.median([${bare_shares[*]}]))")

# Enter asks, Enter again answers Yes: the product is revealed, the clock
# has stopped, and the window waits for BACK.
xdotool key Return; sleep 1; xdotool key Return
sleep 2
done0=$(cpu_ns "$pid")
sleep "$seconds"
done1=$(cpu_ns "$pid")
kill "$pid"; wait "$pid" 2>/dev/null || true
pid=""
echo "{\"idle_stage_cpu_percent\": $(share "$ours0" "$ours1"), \"bare_timer_cpu_percent\": $bare_share, \"bare_timers_cpu_percent\": [$(IFS=,; echo "${bare_shares[*]}")], \"median_slice_ratio\": $median_ratio, \"slice_ratios\": [$(IFS=,; echo "${ratios[*]}")], \"start_screen_cpu_percent\": $(share "$start0" "$start1"), \"finished_cpu_percent\": $(share "$done0" "$done1"), \"seconds\": $seconds, \"stage_started\": $started}"
