#!/usr/bin/env bash
# Prints the prefix of the static Qt for Windows (Core, Gui, Widgets, Test) that the Windows build links,
# building it first when this machine has none. The Windows build's configure runs it.
#
# Debian ships no Qt for Windows, so the first run builds Qt from Debian's own qt6-base source with
# mingw-w64 (about half an hour on two cores) and keeps the result under the user's cache folder, keyed by
# the Qt version and the options below; later runs reuse it. Progress and errors go to standard error, the
# prefix alone to standard output. POMELAK_JOBS (default nproc) sets the build's parallelism.
set -euo pipefail
cd "$(dirname "$0")/.."
exec 3>&1 1>&2
. scripts/deps.sh
install_missing_packages "${POMELAK_WINDOWS_PACKAGES[@]}"

out="$PWD/build/qt-windows"
jobs="${POMELAK_JOBS:-$(nproc)}"

# Runs one step with its output in a log; on failure shows the log's end and which step failed.
run_step() {
    local step="$1" log="$out/$2"
    shift 2
    echo "-- $step"
    if ! "$@" >"$log" 2>&1; then
        # Ninja goes on with the jobs it had started, so the error is at the first FAILED line.
        if grep -q '^FAILED: ' "$log"; then sed -n '/^FAILED: /,$p' "$log" | head -n 60; else tail -n 40 "$log"; fi
        echo "qt-windows: step '$step' failed; full log: $log"
        exit 1
    fi
}

# The host tools (moc, rcc, uic) come from Debian's Qt, so the Windows Qt is built from the same source
# version.
qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
qt_options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DFEATURE_static_runtime=ON
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    # Core, Gui and Widgets are all the program links; Test runs the core's tests on Windows.
    -DFEATURE_concurrent=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_network=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_testlib=ON
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
    # The images are XPM and PNG, which QtGui reads itself; no image format plugins.
    -DFEATURE_gif=OFF
    -DFEATURE_ico=OFF
    -DFEATURE_jpeg=OFF
    # Debian's source lacks src/3rdparty/wintab, which tablet support includes.
    -DFEATURE_tabletevent=OFF
    # QtGui builds its DirectWrite font database only with direct2d, and the windows plugin calls it.
    -DFEATURE_direct2d=ON
    # Nothing from the build machine: the bundled zlib, pcre2, harfbuzz, freetype and libpng.
    -DFEATURE_pkg_config=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_zstd=OFF
)
key="$( { echo "$qt_version"; printf '%s\n' "${qt_options[@]}"; cat cmake/mingw-w64-x86_64.cmake
          x86_64-w64-mingw32-g++-posix --version | head -n 1; } | sha256sum | cut -c1-12)"
home="${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}"
prefix="${XDG_CACHE_HOME:-$home/.cache}/pomelak/qt-$qt_version-mingw64-static-$key"

build_qt() {
    echo "== Building Qt $qt_version for Windows (once per machine) into $prefix"
    rm -rf "$prefix" "$out"
    mkdir -p "$prefix" "$out/source"

    # A private copy of the machine's package sources with deb-src in place of deb, and private lists and
    # caches: the machine's apt configuration stays as it is, and no root is needed.
    local apt="$out/apt" file
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d"
    for file in /etc/apt/sources.list.d/*.sources; do
        if [ -e "$file" ]; then sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt/sources.list.d/${file##*/}"; fi
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        if [ -e "$file" ]; then sed -n 's/^deb /deb-src /p' "$file" >"$apt/sources.list.d/${file##*/}"; fi
    done
    local apt_options=(
        -o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/sources.list.d"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
        -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
    )
    # As root apt would hand the download to its own user, which cannot write into this folder.
    [ "$(id -u)" -ne 0 ] || apt_options+=(-o APT::Sandbox::User=root)
    run_step "apt source index (private sources list)" apt-update.log apt-get "${apt_options[@]}" update
    run_step "apt source download of qt6-base $qt_version" apt-source.log \
        bash -c 'cd "$1" && shift && apt-get "$@"' _ "$out/source" "${apt_options[@]}" \
        source --only-source "qt6-base=$qt_version"
    local source
    source="$(find "$out/source" -maxdepth 1 -type d -name 'qt6-base-*')"

    # Qt's generated toolchain file chains to this one by path, so it lives inside the prefix.
    cp cmake/mingw-w64-x86_64.cmake "$prefix/"
    local start=$SECONDS
    run_step "Qt configure" configure.log cmake -S "$source" -B "$out/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "${qt_options[@]}"
    echo "   configured in $((SECONDS - start)) s"
    start=$SECONDS
    run_step "Qt build (-j$jobs)" build.log cmake --build "$out/build" -j"$jobs"
    echo "   built in $((SECONDS - start)) s"
    run_step "Qt install" install.log cmake --install "$out/build"

    # What a program linking this Qt has to pass on: the licence texts and Debian's copyright file,
    # which also covers the bundled third-party code.
    mkdir -p "$prefix/licenses"
    cp "$source"/LICENSES/LGPL-3.0-only.txt "$source"/LICENSES/GPL-3.0-only.txt "$prefix/licenses/"
    cp "$source/debian/copyright" "$prefix/licenses/qt6-base-copyright.txt"

    touch "$prefix/.complete"
    # Only the prefix is needed from now on; the source and build trees are over a gigabyte.
    rm -rf "$out/source" "$out/build" "$out/apt"
    echo "   prefix: $(du -sh "$prefix" | cut -f1)"
}

# A second run on the same machine waits for the first one's Qt instead of building it again.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.complete" ] || build_qt
echo "$prefix" >&3
