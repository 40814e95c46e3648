#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run, test and
# benchmark. Idempotent: when everything is present it does nothing; otherwise
# it refreshes the package lists once and installs only what is missing.
set -euo pipefail

PACKAGES=(
  # build
  g++ cmake ninja-build pkg-config
  # graphics, text, pictures
  libcairo2-dev libpango1.0-dev libpng-dev libjpeg-dev zlib1g-dev
  # JSON, HTTP
  nlohmann-json3-dev libcurl4-openssl-dev
  # windows, native controls, tray, main loop
  libgtk-3-dev
  # sound playback
  libgstreamer1.0-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # embedded web page
  libwebkit2gtk-4.1-dev
  # fonts so every script renders
  fonts-dejavu-core fonts-wqy-microhei
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick trayer sox lame
  # desktop integration used at run time (shell open)
  xdg-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "setup: missing packages and not root: ${missing[*]}" >&2; exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
