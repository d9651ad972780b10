#!/usr/bin/env bash
# Files dragged from an X11 program onto the designer's dialog under Wine, as from a Linux file
# manager: on the first character's page, dropped beside the pages, they fill its frames from the
# first empty field in the order given, and a file that is no picture is refused with a message.
#   x11_drop.sh WINE-RUN SESSION DESIGNER PICTURES NATIVE-BIN
set -euo pipefail
run=$1 session=$2 designer=$3 pictures=$4 native=$5
drop=$native/morvane-xdnd-drop
for need in "$drop" "$pictures/still.gif" "$pictures/animated.gif"; do
  [ -e "$need" ] || { echo "FAIL: $need is missing (build the native preset first)"; exit 1; }
done
export DISPLAY=":$(head -n1 "$session/display")"
ini="$session/prefix/drive_c/windows/MORVANE.INI"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c 100 /dev/zero | tr '\0' 'x' >"$work/notes.txt"
rm -f "$ini"

"$run" "$session" "$designer" /c >"$work/designer.log" 2>&1 &
designer_pid=$!
window=$(timeout 60 xdotool search --sync --name '^Morvane$' | head -n1)
sleep 2
xdotool key ctrl+Tab ctrl+Tab
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
# On the preview column, not on a field.
"$drop" "$window" $((X + WIDTH - 100)) $((Y + 90)) "$pictures/still.gif" "$work/notes.txt" "$pictures/animated.gif" ||
  { echo "FAIL: the dialog did not take the drop"; kill "$designer_pid"; exit 1; }
sleep 2
boxes=$(xdotool search --name '^Morvane$' | wc -l)
[ "$boxes" -ge 2 ] || { echo "FAIL: no message about notes.txt"; kill "$designer_pid"; exit 1; }
xdotool key Return   # the message
sleep 1
xdotool key Return   # OK: the page saves
for _ in $(seq 1 50); do kill -0 "$designer_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$designer_pid" 2>/dev/null && { echo "FAIL: the dialog did not close"; kill "$designer_pid"; exit 1; }
status=0
grep -qi '^A0=.*still\.gif' "$ini" || { echo "FAIL: frame 1 is not still.gif"; status=1; }
grep -qi '^A1=.*animated\.gif' "$ini" || { echo "FAIL: frame 2 is not animated.gif"; status=1; }
grep -qi '^A2=[^[:space:]]' "$ini" && { echo "FAIL: frame 3 was filled"; status=1; }
grep -qi 'notes\.txt' "$ini" && { echo "FAIL: notes.txt was taken"; status=1; }
[ $status -eq 0 ] || cat "$ini"
exit $status
