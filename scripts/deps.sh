# Sourced by the scripts: installs the Debian packages given as arguments when any of them is missing
# (through sudo when not root), so that a fresh Debian 12 machine can build.
install_missing_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -ne 0 ] || return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the program needs; qt6-translations-l10n holds Qt's Japanese texts
# (qtbase_ja.qm), which the program loads at start-up.
POMELAK_BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev fonts-ipafont-gothic qt6-translations-l10n)
# The Windows build: the cross compiler, the source of Debian's Qt, ImageMagick for the icon.
POMELAK_WINDOWS_PACKAGES=("${POMELAK_BUILD_PACKAGES[@]}" g++-mingw-w64-x86-64-posix dpkg-dev xz-utils imagemagick)
