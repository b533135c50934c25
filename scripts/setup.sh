#!/usr/bin/env bash
# Installs what Velmar needs on Debian 12 (only the missing packages), then configures and builds.
# Usage: scripts/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
          qt6-translations-l10n libsqlite3-dev libgl-dev fonts-liberation qt6-svg-dev
          libwmf-dev libemf2svg-dev)
# For the tests: reading a printout's text positions back, a real X server with a framing window
# manager (xprop tells when it runs), and keys typed through the window system.
packages+=(poppler-utils xvfb xauth openbox x11-utils xdotool)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

build_dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
