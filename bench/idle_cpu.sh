#!/usr/bin/env bash
# CPU used over 20 s by a running stage's idle clock (the real trainer on a
# private X server, START clicked, nothing typed), next to a bare Qt
# program running only a 10 ms precise timer. Prints one JSON object with
# the share of one core each used.
set -euo pipefail
build=${1:-build}
seconds=${VK_IDLE_SECONDS:-20}
display=:$((200 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset &>/dev/null &
xvfb=$!
trap 'kill $xvfb ${pid:-} 2>/dev/null || true' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getdisplaygeometry &>/dev/null && break; sleep 0.1; done

# Nanoseconds on a CPU, all threads: the scheduler's own account, far finer
# than the 10 ms ticks of /proc/PID/stat.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{sum += $1} END {print sum}'; }

measure() { # pid -> share of a core over $seconds
  local before after
  before=$(cpu_ns "$1")
  sleep "$seconds"
  after=$(cpu_ns "$1")
  python3 -c "print(round(($after - $before) / 1e9 / $seconds * 100, 3))"
}

"$build/vendrakul" &>/dev/null &
pid=$!
id=""
for _ in $(seq 100); do
  id=$(xdotool search --onlyvisible --name '^Kelvaris Ostravel$' 2>/dev/null | head -n1 || true)
  [[ -n "$id" ]] && break
  sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$id")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 190 + 60 + 22)) click 1
sleep 2
ours=$(measure "$pid")
kill "$pid"; wait "$pid" 2>/dev/null || true

"$build/bench/bench_bare_timer" &>/dev/null &
pid=$!
sleep 2
bare=$(measure "$pid")
kill "$pid"; wait "$pid" 2>/dev/null || true
pid=""
echo "{\"idle_stage_cpu_percent\": $ours, \"bare_timer_cpu_percent\": $bare, \"seconds\": $seconds}"
