#!/usr/bin/env bash
# Installs what building, running and testing 수리볼 need, from Debian's packages (Debian 12).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-webengine-dev libqt6sql6-sqlite libqt6sql6-psql libgl-dev
    libgtest-dev libsodium-dev libsqlite3-dev libzxing-dev qt6-charts-dev
    clang libclang-rt-14-dev clang-format
    postgresql libpq-dev openssl
    fonts-nanum fonts-nanum-coding locales
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
