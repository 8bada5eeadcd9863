#!/usr/bin/env bash
# The program on the desktop's accessibility bus, as a screen reader finds it: a private
# session bus, the accessibility bus, a virtual X server, and a pyatspi client
# (atspi_client.py) that reads the window, follows the focus, and ends the program
# through the Exit button's click action; then the same for the kit's message box.
# Skips (status 77) only where the accessibility bus cannot start, and says why.
set -u
xpkit="$1" xprobe="$2" msgbox="$3"
here="$(cd "$(dirname "$0")" && pwd)"
skip() { echo "SKIP: $*"; exit 77; }
launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3  # Debian's, which has pyatspi

if [ -z "${XPKIT_PRIVATE_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || skip "dbus-run-session is missing (Debian's dbus)"
  exec dbus-run-session -- env XPKIT_PRIVATE_BUS=1 "$0" "$@"
fi
[ -x "$launcher" ] || skip "$launcher is missing (Debian's at-spi2-core)"
"$python" -c 'import pyatspi' 2>/dev/null || { echo "FAIL: $python has no pyatspi (Debian's python3-pyatspi)"; exit 1; }
source "$here/../support/xserver.sh"
source "$here/../support/checks.sh"
start_x "$xprobe"
"$launcher" --launch-immediately >"$tmp/launcher.log" 2>&1 & x_pids+=($!)
# Asked without starting it: the bus's own launcher must come up.
launched() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}
for _ in $(seq 50); do launched && break; sleep 0.1; done
launched || skip "the accessibility bus did not start: $(cat "$tmp/launcher.log")"
bus() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus "$@" >/dev/null 2>&1; }
bus org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled variant:boolean:true ||
  skip "the accessibility bus cannot be enabled"

# The banners get texts of their own, so that what they read can be told apart.
"$xpkit" --save-layout - | awk '
  /^control Header / { who = "Header" } /^control Footer / { who = "Footer" } /^end/ { who = "" }
  who == "Header" && /set caption/ { $0 = "  set caption = \"Welcome\"" }
  who == "Header" && /set description/ { $0 = "  set description = \"A window of one'"'"'s own\"" }
  who == "Footer" && /set caption/ { $0 = "  set caption = \"Farewell\"" }
  who == "Footer" && /set description/ { $0 = "  set description = \"The way out\"" }
  { print }' >"$tmp/window.layout"

"$xpkit" --layout "$tmp/window.layout" --scale 2 & pid=$!
wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
[ -n "$wid" ] || { echo "FAIL: no window appeared"; kill $pid; exit 1; }
read -r X Y _ < <("$xprobe" frame "$wid")
"$python" "$here/atspi_client.py" window "$X" "$Y" 2 || fail=1
await_exit 0 "the Exit button's click action"

"$msgbox" "Disk full: لا مساحة" "Warning" & pid=$!
"$python" "$here/atspi_client.py" msgbox "Disk full: لا مساحة" "Warning" || fail=1
await_exit 0 "OK's and then Exit's click actions"

[ $fail = 0 ] && echo "accessibility end-to-end: all checks passed"
exit $fail
