#!/usr/bin/env bash
# Sets up a fresh machine, builds, creates the demo database (once) and starts
# the server on it. Log in with one of the demo accounts of the README.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel 2
db="${CORVEXA_DEMO_DB:-build/demo.sqlite}"
port="${CORVEXA_PORT:-211}"
if [ ! -f "$db" ]; then
    ./build/bin/corvexa-server init --db "sqlite:$db" --demo
fi
echo "Demo server on port $port, database $db (Ctrl-C stops it)."
echo "Try: ./build/bin/corvexa-sql --db sqlite:$db -e \"Select ZB_ID, ZB_Name from DZB_XS where DZZ_ID='01'\""
exec ./build/bin/corvexa-server --db "sqlite:$db" --port "$port"
