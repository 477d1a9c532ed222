#!/usr/bin/env bash
# The trainer reads and writes no files: run a whole stage under strace on
# a private X server and look at every call that could create, change or
# remove a file. Only the toolkit's runtime directory (made when
# XDG_RUNTIME_DIR is unset) and /dev or /proc are allowed.
set -euo pipefail
program=${1:?usage: nowrite_test.sh PATH-TO-vendrakul}
work=$(mktemp -d)
trap 'kill ${xvfb:-} ${app:-} 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((150 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset &>/dev/null &
xvfb=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getdisplaygeometry &>/dev/null && break; sleep 0.1; done

log=$work/trace
strace -f -qq -o "$log" \
  -e trace=open,openat,openat2,creat,rename,renameat,renameat2,unlink,unlinkat,mkdir,mkdirat,truncate,link,linkat,symlink,symlinkat,chmod,fchmodat \
  "$program" &
app=$!

id=""
for _ in $(seq 150); do
  id=$(xdotool search --onlyvisible --name '^Kelvaris Ostravel$' 2>/dev/null | head -n1 || true)
  [[ -n "$id" ]] && break
  sleep 0.1
done
[[ -n "$id" ]] || { echo "FAIL: no start screen"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$id")"
sleep 0.5
# START, three digits, Enter, Yes, BACK, close: a whole stage.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 190 + 60 + 22)) click 1; sleep 1
xdotool type --delay 50 321; sleep 0.3
xdotool key Return; sleep 1
box=$(xdotool search --onlyvisible --name '^KELVARIS$' | head -n1 || true)
[[ -n "$box" ]] && xdotool windowfocus --sync "$box" && xdotool key Return
sleep 1
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 80 + 25)) click 1; sleep 1
xdotool mousemove $((X + WIDTH - 72 + 59)) $((Y + 11)) click 1
status=0
wait $app || status=$?
app=""
[[ $status -eq 0 ]] || { echo "FAIL: the program ended with $status"; exit 1; }
[[ -n "$box" ]] || { echo "FAIL: the stage was not driven to its question"; exit 1; }

writes=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND|creat\(|rename|unlink|mkdir|truncate|link\(|linkat\(|chmod' "$log" \
  | grep -v -E '"/dev/|"/proc/' \
  | grep -v -E 'mkdir(at)?\((AT_FDCWD, )?"(/tmp/runtime-[^"]*|'"${XDG_RUNTIME_DIR:-/nonexistent}"')"' || true)
opened=$(grep -c -E 'open(at)?\(' "$log" || true)
echo "$opened file opens traced"
if [[ -n "$writes" ]]; then
  echo "FAIL: the program wrote to the file system:"
  echo "$writes"
  exit 1
fi
echo "PASS: nothing written"
