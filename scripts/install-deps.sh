#!/usr/bin/env bash
# Installs what building, testing and running Corvexa needs (Debian packages).
# Idempotent; runs as root without prompts.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config clang
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev libsqlite3-dev sqlite3
    libpq-dev postgresql
    fonts-noto-cjk
    libxlsxwriter-dev liborcus-dev libfreexl-dev zlib1g-dev poppler-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
