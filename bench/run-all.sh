#!/usr/bin/env bash
# Runs every benchmark of a build and prints one table: what was measured,
# the figure, the goal and whether it was met.
set -euo pipefail
build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

for b in stage sheet flow skin exercise main; do
  echo "running bench_$b ..." >&2
  "$build/bench/bench_$b" --benchmark_format=json --benchmark_repetitions=5 --benchmark_min_time=0.2 \
    > "$out/$b.json" 2>/dev/null
done
echo "running bench_memory ..." >&2
"$build/bench/bench_memory" 2>/dev/null > "$out/memory.json"
echo "running the idle clock for ${VK_IDLE_SECONDS:-20} s twice ..." >&2
bash "$(dirname "$0")/idle_cpu.sh" "$build" > "$out/idle.json"

python3 - "$out" <<'PY'
import json, sys, os
out = sys.argv[1]

def bench(name):
    with open(os.path.join(out, name + ".json")) as f:
        return json.load(f)["benchmarks"]

def median(name, prefix, field="real_time"):
    """Median over the repetitions, in microseconds."""
    units = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
    for b in bench(name):
        if b["name"].startswith(prefix) and b.get("aggregate_name") == "median":
            if field in b and field not in ("real_time", "cpu_time"):
                return b[field]
            return b[field] * units[b["time_unit"]]
    raise KeyError(prefix)

rows = []
def row(what, figure, goal, met):
    rows.append((what, figure, goal, "yes" if met else "NO"))

ours = median("main", "BM_process_vendrakulFirstStartScreen") / 1000
plain = median("main", "BM_process_plainQtWindow") / 1000
row("start to first painted start screen (process, offscreen)", f"{ours:.1f} ms vs {plain:.1f} ms bare Qt window ({ours/plain:.2f} x)", "<= 1.3 x", ours <= 1.3 * plain)
v = median("main", "BM_firstStartScreen_vendrakul") / 1000
row("  of which in-process: construct, load, show, paint", f"{v:.2f} ms", "-", True)
v = median("exercise", "BM_StartToFirstActivation") / 1000
row("START to a running stage (problem, window, sheet, clock)", f"{v:.2f} ms", "< 15 ms", v < 15)
v = median("exercise", "BM_PaintExerciseWindow/onScreen:0")
row("paintExerciseWindow 1280 x 775 (composition)", f"{v:.0f} us", "< 300 us", v < 300)
v2 = median("exercise", "BM_PaintExerciseWindow/onScreen:1")
row("  the same with the window on screen (repaints)", f"{v2:.0f} us", "-", True)
v = median("main", "BM_temelYarismaEkraniCiz_1280x800_shown")
row("temelYarismaEkraniCiz 1280 x 800, titles included", f"{v:.0f} us", "< 300 us", v < 300)
for b in bench("sheet"):
    if b.get("aggregate_name") == "median" and "median_us" in b:
        v = b["median_us"]
        break
row("one digit typed (key event to cell, cursor, cevap)", f"{v:.1f} us", "< 200 us", v < 200)
v = median("flow", "BM_tickWithoutRedraw")
row("one clock tick, no redraw", f"{v*1000:.0f} ns", "< 5 us", v < 5)
v = median("flow", "BM_tickWithRedraw")
row("one clock tick that redraws the display", f"{v:.1f} us", "-", True)
a = median("stage", "BM_multiplyDigits_ours"); g = median("stage", "BM_multiplyDigits_gmp")
row("multiplyDigits, two 20-digit factors", f"{a*1000:.0f} ns vs GMP {g*1000:.0f} ns ({a/g:.2f} x)", "<= 1.0 x GMP", a <= g)
v = median("stage", "BM_createProblem")
row("createProblem, whole problem document", f"{v:.1f} us", "< 20 us", v < 20)
v = median("skin", "BM_drawSkinFrame_sheetPanel")
row("drawSkinFrame around the 902 x 234 sheet panel", f"{v:.1f} us", "-", True)
v = median("skin", "BM_composeWindow_surface"); r = median("skin", "BM_composeWindow_rawMemcpy")
row("1280 x 800 window composed from the template", f"{v:.0f} us (raw memcpy {r:.0f} us)", "< 250 us", v < 250)
with open(os.path.join(out, "memory.json")) as f:
    m = json.load(f)
row("resident memory after start", f"{m['rss_after_start_kb']/1024:.1f} MiB", "-", True)
row("resident memory after 100 stages", f"{m['rss_after_100_stages_kb']/1024:.1f} MiB", "-", True)
with open(os.path.join(out, "idle.json")) as f:
    i = json.load(f)
row(f"CPU of an idle stage's clock over {i['seconds']} s (Xvfb)", f"{i['idle_stage_cpu_percent']:.2f} % vs {i['bare_timer_cpu_percent']:.2f} % bare 10 ms timer", "<= bare timer", i['idle_stage_cpu_percent'] <= i['bare_timer_cpu_percent'])

w = [max(len(r[k]) for r in rows + [("measured", "figure", "goal", "met")]) for k in range(4)]
fmt = "| " + " | ".join("{:<%d}" % n for n in w) + " |"
print(fmt.format("measured", "figure", "goal", "met"))
print("|" + "|".join("-" * (n + 2) for n in w) + "|")
for r in rows:
    print(fmt.format(*r))
PY
