#!/usr/bin/env bash
# Builds Pomelak and starts it. Installs what the build needs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing_packages "${POMELAK_BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOMELAK_BENCH=OFF >/dev/null
cmake --build build --target Pomelak
exec build/app/Pomelak "$@"
