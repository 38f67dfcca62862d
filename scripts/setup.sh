#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Korvanta needs.
# Idempotent and quiet: run it as often as you like.
set -euo pipefail

packages=(
    build-essential cmake pkg-config ccache python3
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6opengl6-dev libgl-dev libqt6svg6
    libmpv-dev libtinyxml-dev libexpat1-dev libsqlite3-dev zlib1g-dev
    libavformat-dev libavcodec-dev libavutil-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    ffmpeg mpv xvfb xauth openbox xdotool wmctrl x11-apps x11-utils imagemagick
    libgl1-mesa-dri fonts-dejavu-core
    desktop-file-utils appstream
    clang-14 libclang-rt-14-dev
    dbus playerctl python3-dbus python3-gi qt6-wayland weston libxcb-screensaver0-dev
    at-spi2-core python3-pyatspi qt6-translations-l10n
    dunst
    qtkeychain-qt6-dev gnome-keyring libsecret-tools
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
