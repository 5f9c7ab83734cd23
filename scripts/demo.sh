#!/usr/bin/env bash
# Sets up a fresh machine, builds, creates the demo database (once), starts the
# server on it and then the desktop program, ready to log in with one of the
# demo accounts of the README (password "demo"). Closing the program stops
# the server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel 2
db="${CORVEXA_DEMO_DB:-build/demo.sqlite}"
# Ports below 1024 need root; others get 2211 unless they choose.
if [ "$(id -u)" -eq 0 ]; then default_port=211; else default_port=2211; fi
port="${CORVEXA_PORT:-$default_port}"
if [ ! -f "$db" ]; then
    ./build/bin/corvexa-server init --db "sqlite:$db" --demo
fi
./build/bin/corvexa-server --db "sqlite:$db" --listen 127.0.0.1 --port "$port" &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done
echo "Demo server on 127.0.0.1:$port, database $db."

# The program's settings for the demo: the server's address is filled in.
settings="$PWD/build/demo-settings.ini"
if [ ! -f "$settings" ]; then
    printf '[General]\nSrvIP=127.0.0.1:%s\n' "$port" >"$settings"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to show the program on; the server keeps running (Ctrl-C stops it)."
    wait "$server"
    exit 0
fi
CORVEXA_SETTINGS="$settings" ./build/bin/corvexa
