#!/usr/bin/env bash
# Windows stage of the test command. Compiles the Windows-only branches against Debian's Qt headers,
# cross-builds Pomelak.exe (scripts/build-windows.sh, which builds Qt once per machine), checks that the
# file is self-contained and carries its version and icon, and smoke-tests it under Wine as a person would
# use it: on Xvfb, in a Wine virtual desktop, in a fresh Wine prefix. Installs what it needs when missing.
#
# Screenshots go to build/screenshots/wine-*.png. Every wait is bounded, and everything started here is
# ended by its PID.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing_packages "${POMELAK_BUILD_PACKAGES[@]}" g++-mingw-w64-x86-64-posix wine fonts-wine xvfb xdotool \
    imagemagick icoutils

fail() {
    echo "test-windows: $*" >&2
    exit 1
}
stage_start=$SECONDS

echo "== Windows branches compiled with mingw-w64 (syntax only, against Debian's Qt headers)"
# Each file gets the definitions and include folders it is built with, from a configure that builds nothing.
cmake -S . -B build-mingw-check -G Ninja -DPOMELAK_TESTS=OFF >/dev/null
mapfile -t windows_sources < <(grep -rlE 'Q_OS_WIN' core ui res app --include='*.cpp' | sort)
[ ${#windows_sources[@]} -gt 0 ] || fail "no source file with a Q_OS_WIN branch found"
for source in "${windows_sources[@]}"; do
    command="$(grep -F -- "-c $PWD/$source\"" build-mingw-check/compile_commands.json |
        sed -e 's/^ *"command": "//' -e 's/",$//' | perl -pe 's/\\(["\\])/$1/g')"
    [ -n "$command" ] || fail "$source is not built by any target"
    eval "set -- $command"
    flags=()
    while [ $# -gt 0 ]; do
        case "$1" in
        -D* | -I* | -std=*) flags+=("$1") ;;
        -isystem) flags+=("$1" "$2") && shift ;;
        esac
        shift
    done
    x86_64-w64-mingw32-g++-posix -fsyntax-only -Wall -Wextra -Wpedantic -Werror -DUNICODE -D_UNICODE \
        "${flags[@]}" "$source" || fail "$source does not compile for Windows"
done
echo "compiled for Windows: ${windows_sources[*]}"

echo "== Windows build"
start=$SECONDS
scripts/build-windows.sh -DPOMELAK_WERROR=ON
echo "Windows build: $((SECONDS - start)) s"
exe=build-windows/dist/Pomelak.exe
version="$(sed -n 's/^project(Pomelak VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"

echo "== Pomelak.exe: imports, version resource, icon"
imports="$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')"
echo "imports: $(echo $imports)"
# Windows' own DLLs only: Qt and the mingw runtime (libstdc++, libgcc, libwinpthread) must be inside.
! grep -qiE '^(qt|lib)' <<<"$imports" || fail "Pomelak.exe needs DLLs that Windows does not have"

resources="$(x86_64-w64-mingw32-windres -i "$exe" -O rc | sed -n '/VERSIONINFO/,$p')"
echo "$resources" | grep -E 'VERSION |VALUE "(CompanyName|FileVersion|InternalName|ProductVersion)"'
for line in "FILEVERSION ${version//./, }" "PRODUCTVERSION ${version//./, }" 'VALUE "CompanyName", "Zelvanu"' \
    "VALUE \"FileVersion\", \"$version\"" 'VALUE "InternalName", "Pomelak"' \
    "VALUE \"ProductVersion\", \"$version\""; do
    grep -qF "$line" <<<"$resources" || fail "version resource lacks: $line"
done

work="$(mktemp -d "${TMPDIR:-/tmp}/pomelak-wine.XXXXXX")"
wrestool -x -t 14 "$exe" -o "$work/icon.ico"
frame=0
for size in 16 32; do
    compare -metric AE "res/images/icon$size.xpm" "$work/icon.ico[$frame]" null: 2>/dev/null ||
        fail "the ${size}x$size icon differs from res/images/icon$size.xpm"
    frame=$((frame + 1))
done
echo "icon: the 16x16 and 32x32 images of res/images"

echo "== Smoke test under Wine"
screens=build/screenshots
mkdir -p "$screens"
wine_pids=()
server_pid=
server_dir=
xvfb_pid=
cleanup() {
    local pid dir
    for pid in "${wine_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    if [ -n "$server_pid" ]; then
        # Ends the services and drivers that Wine started by itself, then the server.
        timeout 30 wineserver --kill 2>/dev/null || true
        kill "$server_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
    fi
    wait || true
    # The server's socket folder, named for the prefix's device and inode, outlives a killed server.
    if [ -n "$server_dir" ]; then
        for dir in /tmp/wine-*/"$server_dir"; do
            if [ -d "$dir" ]; then rm -rf "$(dirname "$dir")"; fi
        done
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in {1..100}; do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")" WINEPREFIX="$work/prefix" WINEDEBUG=-all
# No Mono or Gecko installers, and no menu entries written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
mkdir -p "$WINEPREFIX"
server_dir="server-$(stat -c %D "$WINEPREFIX")-$(printf '%x' "$(stat -c %i "$WINEPREFIX")")"
# Started here rather than by the first Wine program, so that it has a PID to end.
wineserver --foreground --persistent &
server_pid=$!
start=$SECONDS
timeout 180 wineboot --init >"$work/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -5 "$work/wineboot.log")"
echo "Wine prefix made in $((SECONDS - start)) s"

# IPAPGothic in the prefix: the dialog font's substitute, and the face Wine's own captions and menus fall
# back to for Japanese. Wine does not find its own fonts (Tahoma, and Marlett for the caption buttons) in
# Debian's fonts-wine by itself.
cp /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/wine/fonts/{tahoma,marlett}.ttf \
    "$WINEPREFIX/drive_c/windows/Fonts/"
winreg() { timeout 60 wine reg add "$@" /f >/dev/null 2>&1 || fail "wine reg add $*"; }
winreg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'IPAPGothic (TrueType)' /d ipagp.ttf
winreg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma /t REG_MULTI_SZ \
    /d 'ipagp.ttf,IPAPGothic'
# Every program of the prefix runs in one virtual desktop, where Wine draws frames and menus itself.
winreg 'HKCU\Software\Wine\Explorer' /v Desktop /d Pomelak
winreg 'HKCU\Software\Wine\Explorer\Desktops' /v Pomelak /d 1024x768
wine explorer /desktop=Pomelak,1024x768 >"$work/explorer.log" 2>&1 &
wine_pids+=($!)

# The probe reads titles, the system menu and the clipboard through Win32.
probe_dir="$work/probe"
mkdir -p "$probe_dir"
for kind in exe dll; do
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror -municode -static \
        $([ $kind = dll ] && echo -shared) -o "$probe_dir/probe.$kind" tests/wine/probe.cpp
done
# Wine's C runtime ends lines with CR LF.
probe() { timeout 60 wine "$probe_dir/probe.exe" "$@" | tr -d '\r'; }
shot() { import -display "$DISPLAY" -window root "$screens/$1"; }
wait_closed() {
    for _ in {1..50}; do
        probe window "$1" 0 >/dev/null || return 0
        sleep 0.2
    done
    fail "\"$1\" did not close"
}
# Clicks at a point of the main window's client area given in the dialog template's units (354 x 285),
# which the window scales as a whole.
click_template() {
    xdotool mousemove --sync $((main_x + main_w * $1 / 354)) $((main_y + main_h * $2 / 285)) click 1
}

cp "$exe" "$work/"
wine "$work/Pomelak.exe" >"$work/pomelak.log" 2>&1 &
app_pid=$!
wine_pids+=($app_pid)

main=Rivuマルチチェッカー
read -r main_x main_y main_w main_h < <(probe window "$main" 60) || fail "the main window \"$main\" did not appear"
echo "main window \"$main\": ${main_w}x$main_h at $main_x,$main_y"
shot wine-main.png

# START (template 279,267 35x14) with nothing ticked.
click_template 296 274
error=購入マルチ入力エラー
probe window "$error" 10 >/dev/null || { shot wine-failure.png; fail "START did not open \"$error\""; }
xdotool key ctrl+c
copied="$(probe clipboard 5)" || fail "the message box copied nothing"
grep -qF "$error" <<<"$copied" || fail "the message box copied another title: $copied"
grep -qF '購入マルチの項目は１～１３までどれか1個は必ず選んでください。' <<<"$copied" ||
    fail "the message box says something else: $copied"
echo "message box \"$error\": $(sed -n 4p <<<"$copied")"
shot wine-error.png
xdotool key Return
wait_closed "$error"

items="$(probe sysmenu "$main")" || fail "the system menu could not be read"
last_item="$(grep . <<<"$items" | tail -n 1)"
[ "$last_item" = 'Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)...' ] || fail "the system menu ends with \"$last_item\": $items"
echo "system menu: $(grep . <<<"$items" | paste -sd '|')"
# Wine's own "About Wine" item takes the A mnemonic too, so the item is reached by position: the last.
xdotool key alt+space
probe window '#32768' 10 >/dev/null || fail "Alt+Space did not open the system menu"
shot wine-system-menu.png
xdotool key Up Return
about=Pomelakのﾊﾞｰｼﾞｮﾝ情報
probe window "$about" 10 >/dev/null || { shot wine-failure.png; fail "the system menu did not open \"$about\""; }
echo "about box \"$about\" opened from the system menu"
shot wine-about.png
xdotool key Return
wait_closed "$about"

# 終了 (template 318,267 29x14).
click_template 332 274
for _ in {1..100}; do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$app_pid" 2>/dev/null && { shot wine-failure.png; fail "終了 did not end the program"; }
status=0
wait "$app_pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$work/pomelak.log")"
echo "終了 ended the program with status 0"
echo "Wine screenshots: $screens/wine-{main,error,system-menu,about}.png"
echo "Windows stage: $((SECONDS - stage_start)) s"
