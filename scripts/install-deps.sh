#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking and fuzzing xpkit needs.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libharfbuzz-dev libfribidi-dev libfontconfig-dev libpng-dev
  libsdl2-dev libglib2.0-dev libatk1.0-dev libatk-bridge2.0-dev libdbus-1-dev libsystemd-dev libxrandr-dev libwayland-dev
  fonts-wine fonts-dejavu-core fontconfig
  clang libclang-rt-14-dev
  libssl-dev
  xvfb xdotool libx11-dev openbox dbus-x11
  dbus at-spi2-core python3-pyatspi
  x11-xserver-utils icewm xfwm4 weston libdecor-0-plugin-1-cairo imagemagick
  help2man
  util-linux coreutils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  echo "installing: ${missing[*]}" >&2
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# fontconfig's cache of fonts-wine's folder, which the kit adds to fontconfig's own: a
# stale or missing one would be rebuilt by every program at its start.
fc-cache /usr/share/wine/fonts
