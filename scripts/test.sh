#!/usr/bin/env bash
# Builds Pomelak and runs every test: a plain build with its tests, the static analysis and the package
# checks; the same tests in a build with AddressSanitizer and UndefinedBehaviorSanitizer, where any report
# fails; and the core's fuzz targets for a bounded time. Installs what it needs when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing_packages "${POMELAK_BUILD_PACKAGES[@]}" libbenchmark-dev desktop-file-utils appstream dpkg-dev file \
    lintian clang-tidy clang libclang-rt-14-dev locales

jobs=$(nproc)

echo "== Plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOMELAK_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
grep -ho 'soak: .*' build/Testing/Temporary/LastTest.log

echo "== Static analysis (clang-tidy)"
run-clang-tidy -p build -quiet -j"$jobs" "$PWD/(core|ui|res|app)/" >build/clang-tidy.log 2>&1 ||
    { grep -E 'warning:|error:' build/clang-tidy.log; echo "clang-tidy found problems (build/clang-tidy.log)"; exit 1; }
echo "clang-tidy: no findings"

echo "== Installation and Debian package"
packaging/check-package.sh build

echo "== Sanitizer build and tests"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPOMELAK_SANITIZE=ON -DPOMELAK_BENCH=OFF \
    -DPOMELAK_WERROR=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
grep -ho 'soak: .*' build-sanitize/Testing/Temporary/LastTest.log

echo "== Fuzzing the core (libFuzzer, each target for a bounded time)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPOMELAK_FUZZ=ON -DPOMELAK_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz --output-on-failure
grep -h '^Done .* runs' build-fuzz/Testing/Temporary/LastTest.log

# Cross-builds Pomelak.exe (building Qt for Windows on a machine's first run) and smoke-tests it under Wine.
scripts/test-windows.sh

echo "== All tests passed"
