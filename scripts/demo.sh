#!/usr/bin/env bash
# Sets up a fresh machine, builds, and opens a demo database with the dialect
# client. (The server and the desktop program join this script as they land.)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel 2
db="${CORVEXA_DEMO_DB:-build/demo.sqlite}"
./build/bin/corvexa-sql --db "sqlite:$db" -e "Select Year(GetDate()) AS 年度"
echo "Demo database: $db — try: ./build/bin/corvexa-sql --db sqlite:$db -e \"Select * from DZB_XS\""
