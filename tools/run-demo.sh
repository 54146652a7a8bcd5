#!/usr/bin/env bash
# Installs what the program needs, builds it, lays out a demo program folder in build/demo, starts
# the demo server and starts the program there. Arguments go to tools/demo-folder.sh (--primo-avvio:
# first-run dialogs).
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-translations-l10n libgl-dev libsqlcipher-dev sqlcipher
          libcurl4-openssl-dev libzip-dev fonts-liberation2 fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)"
opzioni=()
while [[ $# -gt 0 && $1 == --* ]]; do opzioni+=("$1"); shift; done
# The demo server answers on loopback, never through a proxy; it stops with the program.
export no_proxy=127.0.0.1,localhost NO_PROXY=127.0.0.1,localhost
build/bin/demo-server &
server=$!
trap 'kill "$server"' EXIT
tools/demo-folder.sh "${opzioni[@]}" build build/demo "$@"
