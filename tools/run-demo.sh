#!/usr/bin/env bash
# Installs what the program needs, builds it, lays out a demo program folder in build/demo, starts
# the demo server and starts the program there.
#   tools/run-demo.sh [--porte HTTP HTTPS] [--primo-avvio] [program arguments]
# The demo server listens on 127.0.0.1, ports 8088 (HTTP) and 8443 (HTTPS) unless --porte or the
# variables KX_DEMO_PORTA_HTTP and KX_DEMO_PORTA_HTTPS choose others. Other options go to
# tools/demo-folder.sh (--primo-avvio: first-run dialogs).
set -euo pipefail
cd "$(dirname "$0")/.."

porta_http=${KX_DEMO_PORTA_HTTP:-8088}
porta_https=${KX_DEMO_PORTA_HTTPS:-8443}
opzioni=()
while [[ $# -gt 0 && $1 == --* ]]; do
    if [[ $1 == --porte ]]; then
        if [[ $# -lt 3 ]]; then
            echo "run-demo: --porte vuole due numeri, la porta HTTP e la porta HTTPS." >&2
            exit 2
        fi
        porta_http=$2
        porta_https=$3
        shift 3
    else
        opzioni+=("$1")
        shift
    fi
done

# What can stop the demo is checked before the long work: the ports, then the display.
porta_valida() { [[ $1 =~ ^[0-9]+$ ]] && ((10#$1 >= 1 && 10#$1 <= 65535)); }
porta_occupata() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
for porta in "$porta_http" "$porta_https"; do
    if ! porta_valida "$porta"; then
        echo "run-demo: \"$porta\" non è una porta (un numero da 1 a 65535)." >&2
        exit 2
    fi
    if porta_occupata "$porta"; then
        echo "run-demo: la porta $porta di 127.0.0.1 è già in uso; sceglierne altre con --porte HTTP HTTPS." >&2
        exit 1
    fi
done
if [[ $porta_http == "$porta_https" ]]; then
    echo "run-demo: le porte HTTP e HTTPS devono essere diverse." >&2
    exit 2
fi
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "run-demo: nessuno schermo grafico; avviare da una sessione grafica o con: xvfb-run -a bash tools/run-demo.sh" >&2
    exit 1
fi

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
# The same configuration as .ci/run, so that the two share the build folder. Only what the demo runs
# is built: the program, the database and decode-table makers, the demo server, and the screenshots
# program for a display without a desktop.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build --parallel "$(nproc)" --target KX58TORVA makedb demo-tabelle demo-server screenshots

# The demo server answers on loopback, never through a proxy; it stops with the program. It keeps the
# last application number it gave in the demo folder, so that a later run never gives it again.
export no_proxy=127.0.0.1,localhost NO_PROXY=127.0.0.1,localhost
mkdir -p build/demo
build/bin/demo-server --numeri build/demo/server-demo-numeri.txt "$porta_http" "$porta_https" &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    kill -0 "$server" 2>/dev/null || { wait "$server" || true; echo "run-demo: il server demo non è partito." >&2; exit 1; }
    porta_occupata "$porta_http" && porta_occupata "$porta_https" && break
    sleep 0.1
done
export KX_DEMO_SERVER=http://127.0.0.1:$porta_http KX_DEMO_SERVER_TLS=https://127.0.0.1:$porta_https
tools/demo-folder.sh "${opzioni[@]}" build build/demo "$@"
