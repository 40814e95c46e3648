#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run, test and
# benchmark. Idempotent: when everything is present it does nothing; otherwise
# it refreshes the package lists once and installs only what is missing.
set -euo pipefail

PACKAGES=(
  # build
  g++ cmake ninja-build pkg-config
  # graphics, text, pictures; skin artwork rendered from SVG at build time
  libcairo2-dev libpango1.0-dev libpng-dev libjpeg-dev zlib1g-dev librsvg2-bin
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
  # regional formats the tests read (en_US, de_DE, zh_CN)
  locales
  # the Debian package (cpack runs dpkg-shlibdeps and file) and the checks
  # of the installed desktop entry and metainfo
  dpkg-dev file desktop-file-utils appstream
  # a private session bus for the tray tests (dbus-daemon --session)
  dbus-daemon
  # a real window manager for the end-to-end journeys run under one, and
  # a plain X client (xmessage) that holds the keyboard while alerts pop up
  openbox x11-utils
)

# Locales the tests use to check regional date and time formats.
LOCALES=(en_US.UTF-8 de_DE.UTF-8 zh_CN.UTF-8 en_GB.UTF-8)

ensure_locales() {
  local have missing_locales=()
  have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
  for l in "${LOCALES[@]}"; do
    local norm
    norm=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
    grep -qx "$norm" <<<"$have" || missing_locales+=("$l")
  done
  [ ${#missing_locales[@]} -eq 0 ] && return 0
  echo "setup: generating locales ${missing_locales[*]}" >&2
  for l in "${missing_locales[@]}"; do
    $SUDO sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
}

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  if [ "$(id -u)" -ne 0 ] && [ -z "$SUDO" ]; then
    echo "setup: missing packages and not root: ${missing[*]}" >&2; exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
ensure_locales
