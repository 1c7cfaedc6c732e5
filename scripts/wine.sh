#!/usr/bin/env bash
# Runs a program of the Windows build under Wine: the Windows build's CMAKE_CROSSCOMPILING_EMULATOR.
#   scripts/wine.sh PREFIX PROGRAM.exe [ARGUMENTS]   runs the program under Wine
#   scripts/wine.sh PREFIX COMMAND [ARGUMENTS]       runs a Linux command that starts Wine programs itself
# Always on a private Xvfb, in the Wine prefix PREFIX (made on first use, with IPAPGothic, the dialog
# font's substitute), inside a Wine virtual desktop where Wine draws frames and menus itself. Runs in one
# prefix wait for each other; the prefix's Wine processes end with the run. The status is the program's.
set -euo pipefail
[ -n "${POMELAK_XVFB:-}" ] ||
    POMELAK_XVFB=1 exec xvfb-run -a -s '-screen 0 1280x1024x24 -nolisten tcp' "$0" "$@"
# Wine says which DLL a program lacks, and nothing else.
export WINEPREFIX="$1" WINEDEBUG=-all,err+module
# No Mono or Gecko installers, and no menu entries written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
# Without a console Qt Test writes its report to the debugger, not to standard output, unless told so;
# Wine hands the machine's QT_ variables to no Windows program, and WINEQT_ ones under their QT_ names.
export WINEQT_FORCE_STDERR_LOGGING=1
shift
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX.lock"
flock 9
trap 'timeout 30 wineserver -k 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/.ready" ]; then
    timeout 180 wineboot --init >/dev/null 2>&1 || { echo "wine.sh: wineboot failed"; exit 1; }
    # Wine does not find its own fonts (Tahoma, and Marlett for the caption buttons) in Debian's fonts-wine
    # by itself; IPAPGothic is also the face Wine's captions and menus fall back to for Japanese.
    cp /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/wine/fonts/{tahoma,marlett}.ttf \
        "$WINEPREFIX/drive_c/windows/Fonts/"
    reg() { timeout 60 wine reg add "$@" /f >/dev/null 2>&1 || { echo "wine.sh: wine reg add $* failed"; exit 1; }; }
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'IPAPGothic (TrueType)' /d ipagp.ttf
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma /t REG_MULTI_SZ \
        /d 'ipagp.ttf,IPAPGothic'
    # Every program of the prefix runs in one virtual desktop.
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Pomelak
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Pomelak /d 1024x768
    touch "$WINEPREFIX/.ready"
fi
case "$1" in
*.exe) timeout 600 wine "$@" ;;
*) "$@" ;;
esac
