#!/usr/bin/env bash
# Builds the benchmark programs and prints their figures: the core operations (Google Benchmark) and the
# real windows (start-up to first frame against a plain dialog, START, support-rate dialog, memory).
# Installs what the build needs when it is missing. Arguments go to bench_gui, e.g. --runs=100.
#
# POMELAK_BUILD_DIR (default build/plain, the plain preset's) and POMELAK_JOBS (default nproc) choose the build
# tree and the build's parallelism, so that a shared machine can keep its own tree and cores. Figures
# depend on the machine's load: the report gives the load average before and after, and a busy machine is
# worth a second run.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing_packages "${POMELAK_BUILD_PACKAGES[@]}" libbenchmark-dev

build="${POMELAK_BUILD_DIR:-build/plain}"
jobs="${POMELAK_JOBS:-$(nproc)}"

cmake --preset plain -B "$build" >/dev/null
cmake --build "$build" --target bench_core bench_gui -j"$jobs" >/dev/null

echo "== Machine: $(nproc) CPUs, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "== Core operations (bench_core)"
"$build/bench/bench_core" --benchmark_min_time=0.2
echo
echo "== Windows (bench_gui)"
# bench_gui chooses the offscreen platform itself when QT_QPA_PLATFORM is unset; QT_QPA_PLATFORM=xcb
# under xvfb-run measures the X11 path instead.
"$build/bench/bench_gui" "$@"
echo
echo "== Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
