#!/usr/bin/env bash
# Cross-builds one self-contained Pomelak.exe for 64-bit Windows: static Qt, static C and C++ runtime.
#
# Debian ships no Qt for Windows, so the first run builds Qt from Debian's own qt6-base source with
# mingw-w64 (about 25 minutes on two cores) and keeps the result under the user's cache folder, keyed by
# the Qt version and the options below; later runs reuse it. Installs what it needs when it is missing.
#
# Leaves in build-windows/dist/: Pomelak.exe and what the LGPL asks for next to a program that links Qt
# statically (notice, licence texts, the source and build recipe to relink against a modified Qt).
# POMELAK_JOBS (default nproc) sets the build's parallelism.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing_packages "${POMELAK_BUILD_PACKAGES[@]}" g++-mingw-w64-x86-64-posix dpkg-dev perl xz-utils \
    imagemagick

out="$PWD/build-windows"
jobs="${POMELAK_JOBS:-$(nproc)}"
mkdir -p "$out/logs"

# Runs one step with its output in a log; on failure shows the log's end and which step failed.
run_step() {
    local step="$1" log="$out/logs/$2"
    shift 2
    echo "-- $step"
    if ! "$@" >"$log" 2>&1; then
        # Ninja goes on with the jobs it had started, so the error is at the first FAILED line.
        if grep -q '^FAILED: ' "$log"; then
            sed -n '/^FAILED: /,$p' "$log" | head -n 60 >&2
        else
            tail -n 40 "$log" >&2
        fi
        echo "build-windows: step '$step' failed; full log: $log" >&2
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
    # Core, Gui and Widgets are all the program links.
    -DFEATURE_concurrent=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_network=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_testlib=OFF
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
    rm -rf "$prefix" "$out/qt-source" "$out/qt-build"
    mkdir -p "$prefix" "$out/qt-source"

    # A private copy of the machine's package sources with deb-src in place of deb, and private lists and
    # caches: the machine's apt configuration stays as it is, and no root is needed.
    local apt="$out/qt-source/apt"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d"
    local file
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
    run_step "apt source index (private sources list)" qt-apt-update.log apt-get "${apt_options[@]}" update
    run_step "apt source download of qt6-base $qt_version" qt-apt-source.log \
        bash -c 'cd "$1" && shift && apt-get "$@"' _ "$out/qt-source" "${apt_options[@]}" \
        source --only-source "qt6-base=$qt_version"
    local source
    source="$(find "$out/qt-source" -maxdepth 1 -type d -name 'qt6-base-*')"

    # Qt's generated toolchain file chains to this one by path, so it lives inside the prefix.
    cp cmake/mingw-w64-x86_64.cmake "$prefix/"
    local start=$SECONDS
    run_step "Qt configure" qt-configure.log cmake -S "$source" -B "$out/qt-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "${qt_options[@]}"
    echo "   configured in $((SECONDS - start)) s"
    start=$SECONDS
    run_step "Qt build (-j$jobs)" qt-build.log cmake --build "$out/qt-build" -j"$jobs"
    echo "   built in $((SECONDS - start)) s"
    run_step "Qt install" qt-install.log cmake --install "$out/qt-build"

    # What a program linking this Qt has to pass on: the licence texts and Debian's copyright file,
    # which also covers the bundled third-party code.
    mkdir -p "$prefix/licenses"
    cp "$source"/LICENSES/LGPL-3.0-only.txt "$source"/LICENSES/GPL-3.0-only.txt "$prefix/licenses/"
    cp "$source/debian/copyright" "$prefix/licenses/qt6-base-copyright.txt"

    touch "$prefix/.complete"
    # Only the prefix is needed from now on; the build tree is over a gigabyte.
    rm -rf "$out/qt-source" "$out/qt-build"
    echo "   prefix: $(du -sh "$prefix" | cut -f1)"
}

if [ -n "${POMELAK_QT_PREFIX:-}" ]; then
    prefix="$POMELAK_QT_PREFIX"
    echo "== Qt for Windows: $prefix (POMELAK_QT_PREFIX)"
else
    # A second run on the same machine waits for the first one's Qt instead of building it again.
    mkdir -p "$(dirname "$prefix")"
    exec 9>"$prefix.lock"
    flock 9
    if [ -f "$prefix/.complete" ]; then
        echo "== Qt $qt_version for Windows: cached in $prefix"
    else
        build_qt
    fi
    exec 9>&-
fi

echo "== Pomelak.exe"
start=$SECONDS
# CMake keeps the compiler and Qt it first found, so a build tree made with another Qt starts afresh.
if [ "$(cat "$out/pomelak/qt-prefix" 2>/dev/null)" != "$prefix" ]; then
    rm -rf "$out/pomelak"
    mkdir -p "$out/pomelak"
    printf '%s\n' "$prefix" >"$out/pomelak/qt-prefix"
fi
run_step "Pomelak configure" pomelak-configure.log cmake -S . -B "$out/pomelak" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DPOMELAK_TESTS=OFF "$@"
run_step "Pomelak build" pomelak-build.log cmake --build "$out/pomelak" -j"$jobs"
echo "   built in $((SECONDS - start)) s"

dist="$out/dist"
rm -rf "$dist"
mkdir -p "$dist"
x86_64-w64-mingw32-strip -o "$dist/Pomelak.exe" "$out/pomelak/app/Pomelak.exe"
cp LICENSE "$dist/LICENSE.txt"
cp /usr/share/doc/qt6-translations-l10n/copyright "$dist/qt6-translations-copyright.txt"
# A Qt given through POMELAK_QT_PREFIX brings its own notices.
if [ -d "$prefix/licenses" ]; then
    cp "$prefix"/licenses/{LGPL-3.0-only,GPL-3.0-only,qt6-base-copyright}.txt "$dist/"
fi
# The complete recipe for relinking against a modified Qt: this checkout's sources, this script among
# them, as they are now.
version="$(sed -n 's/^project(Pomelak VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z | tar --null -T - --transform "s,^,pomelak-$version/," -czf "$dist/pomelak-$version-source.tar.gz"
else
    tar --exclude='./build*' --transform "s,^\.,pomelak-$version," -czf "$dist/pomelak-$version-source.tar.gz" .
fi
sed -e "s/@VERSION@/$version/g" -e "s/@QT_VERSION@/$qt_version/g" \
    -e "s/@QT_TRANSLATIONS_VERSION@/$(dpkg-query -W -f='${Version}' qt6-translations-l10n)/g" \
    packaging/windows/README.txt.in >"$dist/README.txt"
echo "   $dist/Pomelak.exe: $(du -h "$dist/Pomelak.exe" | cut -f1)"
