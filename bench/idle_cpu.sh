#!/usr/bin/env bash
# CPU used by the real trainer at rest on a private X server: 20 s on the
# start screen, 40 s in running stages (START clicked, nothing typed; in
# eight rounds of 5 s, a stage each, beside three bare Qt programs running
# only a 10 ms precise timer over the same seconds) and 20 s after the
# finish. Prints one JSON object with the share of one core each used.
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
eval "$(xdotool getwindowgeometry --shell "$id")"

# The start screen, waiting for the user.
sleep 2
start0=$(cpu_ns "$pid")
sleep "$seconds"
start1=$(cpu_ns "$pid")

# The running stage, in rounds: each round starts a stage of its own and
# three bare timers beside it, measures them over the same seconds, and
# goes BACK. Identical programs here differ by 10 to 20 % from one another,
# and the difference stays as long as they run: it comes with how their
# ticks fall against each other's and the machine's, which is set when each
# one's timer starts. Fresh starts each round draw that anew for the stage
# and for the bare timers alike; the floor of a round is the middle one of
# its three, and the figure is the stage's CPU over all rounds against the
# sum of those floors.
rounds=${VK_IDLE_ROUNDS:-8}
slice=${VK_IDLE_SLICE:-5}
stage_seconds=$(python3 -c "print($rounds * $slice)")
# The stage shows inside the main window: its sheet paints the point 300,350
# of the window in the sheet's blue, where the start screen has its pale one.
on_stage() {
  [[ "$(import -window root -crop 1x1+$((X + 300))+$((Y + 350)) -format '%[pixel:p{0,0}]' info: 2>/dev/null)" \
     == "srgb(151,188,238)" ]]
}
start_stage() { # clicks START; true once the stage is up
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 190 + 60 + 22)) click 1
  for _ in $(seq 50); do
    on_stage && return 0
    sleep 0.1
  done
  return 1
}
started=true
ours_used=0
floor_used=0
ratios=()
floors=()
for _ in $(seq "$rounds"); do
  start_stage || started=false
  bare=""
  for _ in 1 2 3; do
    "$build/bench/bench_bare_timer" &>/dev/null &
    bare="$bare $!"
    sleep 0.3
  done
  sleep 2
  declare -A bare0=()
  ours0=$(cpu_ns "$pid")
  for b in $bare; do bare0[$b]=$(cpu_ns "$b"); done
  sleep "$slice"
  ours1=$(cpu_ns "$pid")
  round_bare=()
  for b in $bare; do round_bare+=("$(used "${bare0[$b]}" "$(cpu_ns "$b")")"); done
  kill $bare; wait $bare 2>/dev/null || true
  bare=""
  ours_round=$(used "$ours0" "$ours1")
  floor_round=$(IFS=,; python3 -c "import statistics; print(int(statistics.median([${round_bare[*]}])))")
  ours_used=$((ours_used + ours_round))
  floor_used=$((floor_used + floor_round))
  ratios+=("$(python3 -c "print(round($ours_round / max(1, $floor_round), 3))")")
  floors+=("$(python3 -c "print(round($floor_round / 1e9 / $slice * 100, 3))")")
  # BACK, bottom left of the exercise window, returns to the start screen.
  xdotool mousemove $((X + 125)) $((Y + HEIGHT - 55)) click 1
  for _ in $(seq 50); do
    on_stage || break
    sleep 0.1
  done
  sleep 0.5
done
median_ratio=$(IFS=,; python3 -c "import statistics; print(statistics.median([${ratios[*]}]))")
stage_share=$(python3 -c "print(round($ours_used / 1e9 / $stage_seconds * 100, 3))")
bare_share=$(python3 -c "print(round($floor_used / 1e9 / $stage_seconds * 100, 3))")

# A last stage for the finish.
start_stage || started=false
sleep 1
# Enter asks, Enter again answers Yes: the product is revealed, the clock
# has stopped, and the window waits for BACK.
xdotool key Return; sleep 1; xdotool key Return
sleep 2
done0=$(cpu_ns "$pid")
sleep "$seconds"
done1=$(cpu_ns "$pid")
kill "$pid"; wait "$pid" 2>/dev/null || true
pid=""
echo "{\"idle_stage_cpu_percent\": $stage_share, \"bare_timer_cpu_percent\": $bare_share, \"bare_floor_per_round_cpu_percent\": [$(IFS=,; echo "${floors[*]}")], \"median_round_ratio\": $median_ratio, \"round_ratios\": [$(IFS=,; echo "${ratios[*]}")], \"start_screen_cpu_percent\": $(share "$start0" "$start1"), \"finished_cpu_percent\": $(share "$done0" "$done1"), \"seconds\": $seconds, \"stage_seconds\": $stage_seconds, \"stage_started\": $started}"
