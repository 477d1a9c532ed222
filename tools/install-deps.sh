#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the trainer need,
# only those that are missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
  # Qt Charts for the progress view; its CMake package asks for Qt OpenGL's.
  qt6-charts-dev libqt6opengl6-dev
  # The training log: Qt SQL's SQLite driver.
  libqt6sql6-sqlite
  # The training log's tests: another program holding its lock.
  sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev libgmp-dev
  fonts-wine fonts-liberation2 fonts-dejavu-core
  xvfb xdotool imagemagick x11-utils strace
  # The end-to-end tests: two window managers, a server whose screen can
  # change size while the program runs, xrandr to change it.
  openbox xfwm4 xfconf dbus-daemon xserver-xephyr x11-xserver-utils
  # A Wayland desktop: weston, with XWayland for the trainer's window.
  weston xwayland
  # The checks of the desktop entry and the AppStream metainfo.
  appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
