#!/usr/bin/env bash
# Builds the .deb from a configured build, installs it, starts the
# installed trainer on a private X server and closes it from its own
# window-control strip; the program must end with status 0.
set -euo pipefail
build=${1:-build}
cd "$build"
rm -f vendrakul_*.deb
cpack -G DEB >/dev/null
deb=$(ls vendrakul_*.deb)
echo "Built $deb"
dpkg-deb --contents "$deb" | awk '{print $6}' |
  grep -E 'bin/vendrakul$|applications/vendrakul.desktop$|apps/vendrakul.png$|metainfo/example.kelvaris.Vendrakul.metainfo.xml$'

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "./$deb" >/dev/null
trap 'apt-get remove -y -qq vendrakul >/dev/null 2>&1 || true' EXIT
test -x /usr/bin/vendrakul
desktop-file-validate /usr/share/applications/vendrakul.desktop 2>/dev/null || true
test -f /usr/share/metainfo/example.kelvaris.Vendrakul.metainfo.xml
# Without a display: the version, and the training log's export on a log
# that is not there (a message and status 1, nothing created).
env -u DISPLAY /usr/bin/vendrakul --version | grep -qx "vendrakul [0-9.]*"
empty=$(mktemp -d)
status=0
env -u DISPLAY XDG_DATA_HOME="$empty" /usr/bin/vendrakul --export-log "$empty/out.csv" 2>/dev/null || status=$?
[[ $status -eq 1 && -z "$(ls -A "$empty")" ]]
rm -rf "$empty"

display=:$((90 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; apt-get remove -y -qq vendrakul >/dev/null 2>&1 || true' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

(cd / && env -u VK_PROGRAM /usr/bin/vendrakul) &
app=$!
id=""
for _ in $(seq 100); do
  id=$(xdotool search --onlyvisible --name '^Kelvaris Ostravel$' 2>/dev/null | head -n1 || true)
  [[ -n "$id" ]] && break
  sleep 0.1
done
if [[ -z "$id" ]]; then
  echo "the installed trainer showed no window"; kill $app; exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$id")"
sleep 0.5
# The close cell is the strip's fourth, docked 72 pixels from the right edge.
xdotool mousemove $((X + WIDTH - 72 + 59)) $((Y + 11)) click 1
status=0
wait $app || status=$?
echo "installed trainer started, showed its start screen and closed with status $status"
exit $status
