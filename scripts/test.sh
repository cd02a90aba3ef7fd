#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DMAVU_BUILD_TESTS=ON
cmake --build build
cd build
ctest --output-on-failure --timeout 600 -j "$(nproc)"
