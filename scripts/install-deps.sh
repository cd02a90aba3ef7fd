#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Mavu need.
# Only missing packages are installed; works as root or through sudo.
set -euo pipefail

build_packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-declarative-dev qt6-multimedia-dev qt6-5compat-dev
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libqt6sql6-sqlite
  libquazip1-qt6-dev libcurl4-openssl-dev libssl-dev libx11-dev zlib1g-dev
  libxcb1-dev libxcb-shm0-dev libxcb-render0-dev libxtst-dev libxdamage-dev libxfixes-dev
)
runtime_packages=(
  qml6-module-qtqml qml6-module-qtquick qml6-module-qtquick-controls
  qml6-module-qtquick-templates qml6-module-qtquick-layouts qml6-module-qtquick-window
  qml6-module-qtquick-dialogs qml6-module-qt-labs-folderlistmodel
  qml6-module-qt-labs-platform qml6-module-qtqml-workerscript
  # Voice comments: the recorder's encoding elements, and WAVE and PulseAudio (both in
  # the "good" set on Debian 12).
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # The local service that scripts/run.sh starts.
  python3 openssl
)
test_packages=(
  xvfb xauth xdotool xclip x11-utils x11-xserver-utils imagemagick sqlite3
  python3-cryptography python3-pyftpdlib openssh-server trayer
  unzip curl pulseaudio pulseaudio-utils openbox
)

wanted=("${build_packages[@]}" "${runtime_packages[@]}")
if [ "${1:-}" != "--no-test" ]; then
  wanted+=("${test_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
