#!/usr/bin/env bash
# Builds Pomelak and starts it. Installs what the build needs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing_packages "${POMELAK_BUILD_PACKAGES[@]}"
cmake --preset plain -DPOMELAK_BENCH=OFF >/dev/null
cmake --build --preset plain --target Pomelak
exec build/plain/app/Pomelak "$@"
