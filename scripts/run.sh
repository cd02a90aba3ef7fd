#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --no-test
cmake -S . -B build-app -G Ninja -DCMAKE_BUILD_TYPE=Release -DMAVU_BUILD_TESTS=OFF
cmake --build build-app
exec build-app/src/mavu "$@"
