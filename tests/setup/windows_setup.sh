#!/usr/bin/env bash
# The setup program under Wine, in a fresh prefix of its own: silent installs for the current
# user (over an older version, twice, after the files were removed by hand) and for all users,
# what each writes where, the Start menu entry opening the designer's dialog from the installed
# place, the screen-saver setting, and silent uninstalls that leave MORVANE.INI and the user's
# savers. Wine here runs 64-bit programs only, so the setup is built from the same script as a
# 64-bit program; the 32-bit setup that users get is built and checked as a file.
#   windows_setup.sh WIN64-BUILD WIN32-BUILD VERSION
set -euo pipefail
win64=$1 win32=$2 version=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$win64/setup-test
session=$work/session
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
stop() { "$root/tools/wine-session" stop "$session" >/dev/null 2>&1 || true; }
trap stop EXIT

make_setup() { "$root/installer/make-setup" "$1" "$win64/bin/designer.scr" "$win32/bin/designer.scr" \
  "$win64/generated/designer.ico" "$2" "${@:3}" >"$work/makensis.log" 2>&1 || { cat "$work/makensis.log"; exit 1; }; }
make_setup "$version" "$work/Morvane-$version-setup.exe"
make_setup "$version" "$work/setup64.exe" -DTEST_AMD64
make_setup 0.9.0 "$work/older64.exe" -DTEST_AMD64
# The setup users get: a 32-bit program (machine 0x14c in its PE header).
machine=$(od -An -tx2 -j $(( $(od -An -tu4 -j 60 -N4 "$work/Morvane-$version-setup.exe") + 4 )) -N2 "$work/Morvane-$version-setup.exe" | tr -d ' ')
[ "$machine" = 014c ] || fail "the setup is not a 32-bit program (machine $machine)"

"$root/tools/wine-session" start "$session" >/dev/null
export DISPLAY=":$(head -n1 "$session/display")"
run() { "$root/tools/wine-run" "$session" "$@"; }
drive=$session/prefix/drive_c
user=$(ls "$drive/users" | grep -v -x -e Public -e public | head -n1)
home=$drive/users/$user
folder=$home/AppData/Local/Programs/Morvane
link="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Morvane.lnk"
key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
value() { run reg query "$1\\$key\\Morvane" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n {$1 = ""; $2 = ""; sub(/^ +/, ""); print}'; }
entries() { run reg query "$1\\$key" 2>/dev/null | tr -d '\r' | grep -ci '\\Morvane$' || true; }
# The uninstaller starts a copy of itself and returns: wait until the file it removes is gone.
gone() { for _ in $(seq 1 60); do [ -e "$1" ] || return 0; sleep 0.25; done; return 1; }

installed_for_user() {
  local what=$1
  cmp -s "$folder/Morvane.scr" "$win64/bin/designer.scr" || fail "$what: Morvane.scr is not the 64-bit designer"
  [ -f "$folder/uninstall.exe" ] || fail "$what: no uninstaller"
  [ -f "$link" ] || fail "$what: no Start menu entry"
  [ "$(entries HKCU)" = 1 ] || fail "$what: $(entries HKCU) entries in the list of installed programs"
  [ "$(entries HKLM)" = 0 ] || fail "$what: an entry for all users"
  [ "$(value HKCU DisplayVersion)" = "$version" ] || fail "$what: version $(value HKCU DisplayVersion)"
  [ "$(value HKCU DisplayName)" = Morvane ] || fail "$what: name $(value HKCU DisplayName)"
  [[ $(value HKCU DisplayIcon) == *'\Programs\Morvane\Morvane.scr,0' ]] || fail "$what: icon $(value HKCU DisplayIcon)"
  [[ $(value HKCU UninstallString) == *'\Programs\Morvane\uninstall.exe"' ]] || fail "$what: uninstaller $(value HKCU UninstallString)"
  run reg query 'HKCU\Software\Classes\.morvane' /ve 2>/dev/null | tr -d '\r' | grep -q 'Morvane.Scene' ||
    fail "$what: .morvane files are not associated"
  run reg query 'HKCU\Software\Classes\Morvane.Scene\shell\open\command' /ve 2>/dev/null | tr -d '\r' |
    grep -qi 'Programs\\Morvane\\Morvane.scr" /c "%1"' || fail "$what: scene files do not open in the designer"
  local size=$(( $(value HKCU EstimatedSize) ))
  local expected=$(( ($(stat -c %s "$folder/Morvane.scr") + $(stat -c %s "$folder/uninstall.exe")) / 1024 ))
  [ $((size - expected)) -ge -2 ] && [ $((size - expected)) -le 2 ] || fail "$what: size $size KiB, files $expected KiB"
}

run "$work/older64.exe" /S || fail "the older setup failed"
[ "$(value HKCU DisplayVersion)" = 0.9.0 ] || fail "the older version is not registered"
run "$work/setup64.exe" /S || fail "the setup over the older version failed"
installed_for_user "over the older version"
run "$work/setup64.exe" /S || fail "the setup run twice failed"
installed_for_user "run twice"
rm -f "$folder/Morvane.scr" "$folder/uninstall.exe" "$link"
run "$work/setup64.exe" /S /SETSAVER || fail "the setup after removing the files by hand failed"
installed_for_user "after the files were removed by hand"
saver=$(run reg query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE | tr -d '\r' | awk '$1 == "SCRNSAVE.EXE" {print $3}')
[[ ${saver^^} == *MORVANE.SCR ]] || fail "/SETSAVER did not make Morvane the screen saver: '$saver'"

# The Start menu entry opens the designer's dialog, started from the installed file. A window of
# that name can go again before the key reaches it (BadWindow, seen in runs after the other
# Windows tests): the dialog is looked for again until the key is sent.
run start /unix "$link" >"$work/start.log" 2>&1 &
sent=false
for _ in $(seq 1 10); do
  dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^Morvane$' 2>/dev/null | tail -n1 || true)
  [ -n "$dialog" ] || break
  pid=$(xdotool getwindowpid "$dialog" 2>/dev/null) || { sleep 0.5; continue; }
  command=$(tr '\0' ' ' < "/proc/$pid/cmdline" 2>/dev/null || true)
  if xdotool key --window "$dialog" Return 2>>"$work/xdotool.log"; then sent=true; break; fi
  sleep 0.5
done
if [ -z "$dialog" ]; then
  fail "the Start menu entry opened no dialog"
elif ! $sent; then
  fail "no key reached the dialog: $(cat "$work/xdotool.log")"
else
  grep -qi 'Programs\\Morvane\\Morvane.scr' <<<"$command" || fail "the dialog is not the installed designer's: $command"
  grep -qi '/c' <<<"$command" || fail "the designer was not started with /c"
  for _ in $(seq 1 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
  ! kill -0 "$pid" 2>/dev/null || fail "the dialog did not close"
fi

# The user's settings and a saver made beside the designer stay.
printf '[Module]\r\nMemo1=mine\r\n' > "$drive/windows/MORVANE.INI"
echo "a saver of the user's" > "$folder/mine.scr"
run "$folder/uninstall.exe" /S || fail "the uninstaller failed"
gone "$folder/uninstall.exe" || fail "the uninstaller is still there"
sleep 0.5
[ ! -e "$folder/Morvane.scr" ] || fail "Morvane.scr is still there"
[ ! -e "$link" ] || fail "the Start menu entry is still there"
[ "$(entries HKCU)" = 0 ] || fail "the entry is still in the list of installed programs"
run reg query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE >/dev/null 2>&1 && fail "the screen saver still names the removed designer"
run reg query 'HKCU\Software\Classes\.morvane' >/dev/null 2>&1 && fail "the .morvane association is still there"
[ "$(ls -A "$folder")" = mine.scr ] || fail "the folder holds: $(ls -A "$folder")"
grep -q 'Memo1=mine' "$drive/windows/MORVANE.INI" || fail "MORVANE.INI was not kept"
echo "setup for the current user: installed, registered, opened, removed"

# For all users: the designer where the display settings' list looks, the uninstaller in the
# programs folder, the entry for every user.
run "$work/setup64.exe" /S /ALLUSERS || fail "the setup for all users failed"
system=$drive/windows/system32
common="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Morvane.lnk"
cmp -s "$system/Morvane.scr" "$win64/bin/designer.scr" || fail "all users: Morvane.scr is not in the system folder"
[ -f "$drive/Program Files/Morvane/uninstall.exe" ] || fail "all users: no uninstaller in the programs folder"
[ -f "$common" ] || fail "all users: no Start menu entry for every user"
[ "$(entries HKLM)" = 1 ] || fail "all users: $(entries HKLM) entries"
[ "$(value HKLM DisplayVersion)" = "$version" ] || fail "all users: version $(value HKLM DisplayVersion)"
quiet=$(value HKLM QuietUninstallString)
[ "$quiet" = '"C:\Program Files\Morvane\uninstall.exe" /ALLUSERS /S' ] || fail "all users: quiet uninstaller $quiet"
run 'C:\Program Files\Morvane\uninstall.exe' /ALLUSERS /S || fail "all users: the uninstaller failed"
gone "$drive/Program Files/Morvane/uninstall.exe" || fail "all users: the uninstaller is still there"
sleep 0.5
[ ! -e "$system/Morvane.scr" ] || fail "all users: Morvane.scr is still there"
[ ! -e "$common" ] || fail "all users: the Start menu entry is still there"
[ ! -e "$drive/Program Files/Morvane" ] || fail "all users: the folder is still there"
[ "$(entries HKLM)" = 0 ] || fail "all users: the entry is still in the list"
[ -f "$drive/windows/MORVANE.INI" ] || fail "all users: MORVANE.INI was not kept"
echo "setup for all users: installed, registered, removed"

echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
[ "$failures" -eq 0 ]
