#!/usr/bin/env bash
# The test command: installs what the build and the tests need when it is missing, then runs the "all"
# workflow preset: the plain build and its tests, static analysis and package checks; the same tests with
# AddressSanitizer and UndefinedBehaviorSanitizer; the core's fuzz targets; clang-tidy; and the Windows
# build with its tests under Wine (building Qt for Windows on a machine's first run).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing_packages "${POMELAK_WINDOWS_PACKAGES[@]}" libbenchmark-dev desktop-file-utils appstream file lintian \
    clang-tidy clang libclang-rt-14-dev xvfb xauth xdotool wine fonts-wine icoutils locales
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"
exec cmake --workflow --preset all
