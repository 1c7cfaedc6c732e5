#!/usr/bin/env bash
# Smoke test of Pomelak.exe under Wine, as a person would use it; run by scripts/wine.sh, which gives it
# an X display, a Wine prefix and a virtual desktop.
#   wine-smoke.sh POMELAK.EXE PROBE.EXE SCREENSHOT-FOLDER
# The probe reads titles and the clipboard through Win32; xdotool clicks and types.
set -euo pipefail
exe=$1 probe_exe=$2 shots=$3
mkdir -p "$shots"
shot() { import -display "$DISPLAY" -window root "$shots/wine-$1.png"; }
fail() {
    shot failure
    echo "wine smoke test: $*" >&2
    exit 1
}
# Wine's C runtime ends lines with CR LF.
probe() { timeout 60 wine "$probe_exe" "$@" | tr -d '\r'; }
closes() {
    for _ in {1..50}; do
        probe window "$1" 0 >/dev/null || return 0
        sleep 0.2
    done
    fail "\"$1\" did not close"
}

wine "$exe" &
app=$!
main=Rivuマルチチェッカー
read -r x y w h < <(probe window "$main" 60) || fail "the main window \"$main\" did not appear"
echo "main window \"$main\": ${w}x$h at $x,$y"
shot main
# Clicks a point of the main window given in the dialog template's units (354 x 285); the window scales.
click() { xdotool mousemove --sync $((x + w * $1 / 354)) $((y + h * $2 / 285)) click 1; }

click 296 274 # START (template 279,267 35x14), with nothing ticked
error=購入マルチ入力エラー
probe window "$error" 10 >/dev/null || fail "START did not open \"$error\""
xdotool key ctrl+c
copied="$(probe clipboard 5)" || fail "the message box copied nothing"
grep -qF "$error" <<<"$copied" && grep -qF '購入マルチの項目は１～１３までどれか1個は必ず選んでください。' <<<"$copied" ||
    fail "the message box says something else: $copied"
echo "message box \"$error\": $(sed -n 4p <<<"$copied")"
shot error
xdotool key Return
closes "$error"

# Wine's own "About Wine" item takes the A mnemonic too, so the item is reached by position: the last.
xdotool key alt+space
probe window '#32768' 10 >/dev/null || fail "Alt+Space did not open the system menu"
shot system-menu
xdotool key Up Return
about=Pomelakのﾊﾞｰｼﾞｮﾝ情報
probe window "$about" 10 >/dev/null || fail "the system menu's last item did not open \"$about\""
shot about
xdotool key Return
closes "$about"

click 332 274 # 終了 (template 318,267 29x14)
for _ in {1..100}; do
    kill -0 $app 2>/dev/null || break
    sleep 0.2
done
kill -0 $app 2>/dev/null && fail "終了 did not end the program"
status=0
wait $app || status=$?
[ $status -eq 0 ] || fail "the program ended with status $status"
echo "終了 ended the program with status 0; screenshots in $shots"
