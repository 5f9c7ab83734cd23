#!/usr/bin/env bash
# Sets up a fresh machine, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEXA_WERROR=ON
cmake --build build --parallel 2
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
