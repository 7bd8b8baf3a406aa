#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running the console
# and the room player (libmpv; ffmpeg makes its test media) need. Does nothing
# when they are all present; otherwise runs apt-get update and apt-get install
# (through sudo when not root).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev libqt6sql6-mysql
    qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript
    libgtest-dev libgmock-dev libbenchmark-dev
    mariadb-server mariadb-client
    xvfb xdotool x11-utils
    libmpv-dev libasound2-dev ffmpeg fonts-dejavu-core libegl-mesa0 libgl1-mesa-dri
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
# The distribution's own MariaDB service is not wanted: the console's scripts
# run a private server. policy-rc.d keeps apt from starting the service.
if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee /usr/sbin/policy-rc.d >/dev/null
    "${sudo[@]}" chmod +x /usr/sbin/policy-rc.d
    trap '"${sudo[@]}" rm -f /usr/sbin/policy-rc.d' EXIT
fi
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
