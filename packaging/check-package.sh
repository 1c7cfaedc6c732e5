#!/usr/bin/env bash
# Checks the installation and the Debian package of an already built tree:
#   packaging/check-package.sh BUILD-DIR
# Installs into a scratch directory, checks that every file is there with the right kind and size, runs
# the desktop-entry and AppStream validators on the installed files, builds the .deb with CPack, checks
# its control fields and contents and runs lintian on it. Needs no display and no network. Exits non-zero
# when any check fails, after running all of them, so that one run shows every problem.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD-DIR" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
if [ ! -f "$build/CMakeCache.txt" ] || [ ! -f "$build/CPackConfig.cmake" ]; then
    echo "check-package: $build is not a configured build directory" >&2
    exit 2
fi

readonly app_id=io.github.pomelak.Pomelak
readonly package=pomelak
# The version the package must carry is the project's, as configured in the build.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
readonly version

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
readonly root=$scratch/root

passed=0
failed=0
failures=()

# check DESCRIPTION COMMAND...: runs COMMAND, shows its output only when it fails, and counts the result.
check() {
    local description=$1
    shift
    local output
    if output=$("$@" 2>&1); then
        passed=$((passed + 1))
        printf '  ok    %s\n' "$description"
    else
        failed=$((failed + 1))
        failures+=("$description")
        printf '  FAIL  %s\n' "$description"
        [ -z "$output" ] || printf '%s\n' "$output" | sed 's/^/        /'
    fi
}

# The validators exit 0 on warnings; a warning here is a defect to fix, so any line that is not a
# pedantic hint fails the check.
validate_desktop() {
    local output
    output=$(desktop-file-validate "$1" 2>&1) || { printf '%s\n' "$output"; return 1; }
    [ -z "$output" ] || { printf '%s\n' "$output"; return 1; }
}
validate_metainfo() {
    appstreamcli validate --no-net --strict "$1"
}
validate_tree() {
    appstreamcli validate-tree --no-net --strict "$1"
}

is_executable_elf() {
    if [ ! -f "$1" ] || [ ! -x "$1" ]; then
        echo "$1 is missing or not executable"
        return 1
    fi
    local magic
    magic=$(od -An -c -N4 "$1" | tr -d ' ')
    [ "$magic" = '177ELF' ] || { echo "$1 is not an ELF file (starts with $magic)"; return 1; }
}

# png_size FILE: prints WIDTHxHEIGHT from the IHDR chunk, which the PNG format puts first.
png_size() {
    local signature chunk
    signature=$(od -An -tx1 -N8 "$1" | tr -d ' \n')
    chunk=$(od -An -c -j12 -N4 "$1" | tr -d ' \n')
    if [ "$signature" != 89504e470d0a1a0a ] || [ "$chunk" != IHDR ]; then
        echo "not a PNG"
        return 1
    fi
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    echo "${w}x${h}"
}
is_png_of_size() {
    [ -f "$1" ] || { echo "$1 is missing"; return 1; }
    local size
    size=$(png_size "$1") || { echo "$1 is not a PNG"; return 1; }
    [ "$size" = "$2" ] || { echo "$1 is $size, expected $2"; return 1; }
}

# The newest release in the metainfo must be the version being packaged, or software centres show a
# stale version.
metainfo_lists_version() {
    grep -Eq "<release[^>]* version=\"$2\"" "$1" || { echo "no <release version=\"$2\"> in $1"; return 1; }
    local first
    first=$(grep -Eo '<release[^>]* version="[^"]*"' "$1" | head -n1 | sed 's/.*version="\([^"]*\)"/\1/')
    [ "$first" = "$2" ] || { echo "first release is $first, expected $2"; return 1; }
}

expect_equal() {
    [ "$1" = "$2" ] || { echo "got '$1', expected '$2'"; return 1; }
}
# depends_on FIELD PACKAGE: PACKAGE appears as a whole name in a Depends field.
depends_on() {
    printf '%s\n' "$1" | tr ',|' '\n' | sed 's/^ *//; s/[ (].*//' | grep -Fqx "$2" \
        || { echo "Depends: $1"; echo "lacks $2"; return 1; }
}
all_under_usr() {
    local outside
    outside=$(printf '%s\n' "$1" | grep -v -e '^\./$' -e '^\./usr/' || true)
    [ -z "$outside" ] || { echo "outside /usr:"; printf '%s\n' "$outside"; return 1; }
}
lists_file() {
    printf '%s\n' "$1" | grep -Fqx "$2" || { echo "$2 is not in the package"; return 1; }
}
# The newest changelog entry must be the version being packaged, as Debian tools take the version from it.
changelog_lists_version() {
    [ -f "$1" ] || { echo "$1 is missing"; return 1; }
    local newest
    newest=$(zcat "$1" | dpkg-parsechangelog -l - -S Version) || return 1
    expect_equal "$newest" "$2"
}
# lintian exits 0 on warnings by default; here an error or a warning fails the check. It runs the same
# for every user and machine: no configuration files or LINTIAN_ variables, the Debian profile, and no
# complaint about root, which CI runs as (the package checked is our own).
lintian_clean() {
    lintian --no-cfg --ignore-lintian-env --no-user-dirs --profile debian --allow-root \
        --fail-on error,warning "$1"
}

expected_files=(
    usr/bin/Pomelak
    "usr/share/applications/$app_id.desktop"
    "usr/share/metainfo/$app_id.metainfo.xml"
    "usr/share/icons/hicolor/16x16/apps/$app_id.png"
    "usr/share/icons/hicolor/32x32/apps/$app_id.png"
    "usr/share/icons/hicolor/128x128/apps/$app_id.png"
    usr/share/man/man1/Pomelak.1.gz
    usr/share/doc/pomelak/copyright
    usr/share/doc/pomelak/changelog.gz
)

echo "== Installation into a scratch directory"
check "cmake --install" env DESTDIR="$root" cmake --install "$build" --prefix /usr
check "executable usr/bin/Pomelak" is_executable_elf "$root/usr/bin/Pomelak"
check "desktop entry" test -f "$root/usr/share/applications/$app_id.desktop"
check "AppStream metainfo" test -f "$root/usr/share/metainfo/$app_id.metainfo.xml"
check "manual page" test -f "$root/usr/share/man/man1/Pomelak.1.gz"
check "changelog's newest entry is $version" changelog_lists_version "$root/usr/share/doc/pomelak/changelog.gz" \
    "$version"
for size in 16 32 128; do
    check "icon ${size}x${size}" is_png_of_size "$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" \
        "${size}x${size}"
done
# Anything else installed would end up in the package unnoticed.
unexpected_files() {
    local listed
    listed=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
    local extra
    extra=$(comm -23 <(printf '%s\n' "$listed") <(printf '%s\n' "${expected_files[@]}" | sort))
    [ -z "$extra" ] || { echo "unexpected:"; printf '%s\n' "$extra"; return 1; }
}
check "nothing else installed" unexpected_files

echo "== Validators"
check "desktop-file-validate" validate_desktop "$root/usr/share/applications/$app_id.desktop"
check "appstreamcli validate" validate_metainfo "$root/usr/share/metainfo/$app_id.metainfo.xml"
check "appstreamcli validate-tree" validate_tree "$root"
check "metainfo release is $version" metainfo_lists_version "$root/usr/share/metainfo/$app_id.metainfo.xml" \
    "$version"

echo "== Debian package"
check "cpack -G DEB" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb"
deb=$(find "$scratch/deb" -maxdepth 1 -name '*.deb' -print -quit)
if [ -n "$deb" ]; then
    printf '  %s\n' "$(basename "$deb")"
    check "dpkg-deb --info" dpkg-deb --info "$deb"
    check "Package is $package" expect_equal "$(dpkg-deb --field "$deb" Package)" "$package"
    check "Version is $version" expect_equal "$(dpkg-deb --field "$deb" Version)" "$version"
    depends=$(dpkg-deb --field "$deb" Depends)
    for dependency in libqt6widgets6 libqt6gui6 libqt6core6 fonts-ipafont-gothic qt6-translations-l10n; do
        check "Depends on $dependency" depends_on "$depends" "$dependency"
    done
    for field in Maintainer Section Description; do
        check "$field is set" test -n "$(dpkg-deb --field "$deb" "$field")"
    done
    contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
    check "files are under /usr" all_under_usr "$contents"
    for file in "${expected_files[@]}"; do
        check "package has /$file" lists_file "$contents" "./$file"
    done
    check "/usr/bin/Pomelak is root-owned 0755" \
        expect_equal "$(dpkg-deb --contents "$deb" | awk '$6 == "./usr/bin/Pomelak" { print $1, $2 }')" \
        "-rwxr-xr-x root/root"
    check "lintian: no error or warning" lintian_clean "$deb"
else
    failed=$((failed + 1))
    failures+=("no .deb produced")
fi

echo "== Summary: $passed passed, $failed failed"
if [ "$failed" -ne 0 ]; then
    printf '  failed: %s\n' "${failures[@]}"
    exit 1
fi
