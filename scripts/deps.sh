# Sourced by the start and test commands: installs the Debian packages given as arguments when any of
# them is missing (through sudo when not root), so that a fresh Debian 12 machine can build.
install_missing_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the program needs; qt6-translations-l10n holds Qt's Japanese texts
# (qtbase_ja.qm), which the program loads at start-up.
POMELAK_BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev fonts-ipafont-gothic qt6-translations-l10n)
