#!/usr/bin/env bash
# CPU used over 20 s by a running stage's idle clock (the real trainer on a
# private X server, START clicked, nothing typed), next to a bare Qt
# program running only a 10 ms precise timer, both over the same seconds.
# Prints one JSON object with the share of one core each used.
set -euo pipefail
build=${1:-build}
seconds=${VK_IDLE_SECONDS:-20}
display=:$((200 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset &>/dev/null &
xvfb=$!
trap 'kill $xvfb ${pid:-} ${bare:-} 2>/dev/null || true' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getdisplaygeometry &>/dev/null && break; sleep 0.1; done

# Nanoseconds on a CPU, all threads: the scheduler's own account, far finer
# than the 10 ms ticks of /proc/PID/stat.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{sum += $1} END {print sum}'; }

share() { python3 -c "print(round(($2 - $1) / 1e9 / $seconds * 100, 3))"; }

"$build/vendrakul" &>/dev/null &
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
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 190 + 60 + 22)) click 1
# START opens the exercise window (and the backdrop): more windows shown.
started=false
for _ in $(seq 50); do
  (( $(windows "$pid") > before )) && { started=true; break; }
  sleep 0.1
done

# The bare timer runs beside the stage over the same seconds, so that
# whatever else the machine does weighs on both alike.
"$build/bench/bench_bare_timer" &>/dev/null &
bare=$!
sleep 2
ours0=$(cpu_ns "$pid"); bare0=$(cpu_ns "$bare")
sleep "$seconds"
ours1=$(cpu_ns "$pid"); bare1=$(cpu_ns "$bare")
kill "$pid" "$bare"; wait "$pid" "$bare" 2>/dev/null || true
pid=""; bare=""
echo "{\"idle_stage_cpu_percent\": $(share "$ours0" "$ours1"), \"bare_timer_cpu_percent\": $(share "$bare0" "$bare1"), \"seconds\": $seconds, \"stage_started\": $started}"
