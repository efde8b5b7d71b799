#!/usr/bin/env bash
# Builds the application folder and starts the program from it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAKIN_WERROR=OFF >/dev/null
cmake --build build -j "$(nproc)" --target tovakin
exec build/Tovakin/tovakin "$@"
