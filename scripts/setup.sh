#!/usr/bin/env bash
# Installs the Debian packages Tunovia needs to build, run and test, if any
# are missing. Safe to run again; does nothing when everything is there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  clang libclang-rt-14-dev clang-format-14 clang-tidy-14 python3
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6multimedia6
  libsdl2-dev
  dbus dbus-bin dbus-daemon
  qt6-translations-l10n
  xvfb xauth xdotool
  xdg-utils
  fonts-ipafont-gothic fonts-noto-cjk
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
