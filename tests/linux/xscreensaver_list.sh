#!/usr/bin/env bash
# morvane-play --add-to-xscreensaver and --remove-from-xscreensaver on copies of XScreenSaver
# settings files (the default list as XScreenSaver 6 writes it, a customised one, none at all):
# one line in, the same bytes again after it is taken out, and files it cannot change safely
# left exactly as they were. Runs as nobody, for whom permissions mean what they say.
#   xscreensaver_list.sh MORVANE_PLAY MORVANE_DEMO_SCENE
set -uo pipefail
play=${1:?morvane-play}
demo=${2:?morvane-demo-scene}
files=$(cd "$(dirname "$0")/xscreensaver-files" && pwd)
defaults=/etc/X11/app-defaults/XScreenSaver
skip() { echo "SKIPPED: $*"; exit 77; }
command -v setpriv >/dev/null || skip "setpriv is missing"
id nobody >/dev/null 2>&1 || skip "there is no user nobody to run the test as"
[ -r "$defaults" ] || skip "$defaults is missing (scripts/setup installs xscreensaver)"

work=$(mktemp -d /tmp/morvane-list-XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
cp "$play" "$work/morvane-play"
scene="$work/scènes d'été/MORVANE.INI"
mkdir "$(dirname "$scene")" && "$demo" "$(dirname "$scene")" || { echo "FAILED: no scene" >&2; exit 1; }
home="$work/home"
mkdir "$home"
chown -R nobody:nogroup "$work"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
run() {  # run ARGS...: morvane-play as nobody; its output in $out, its status in $status
  out=$(cd / && env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 \
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$work/morvane-play" "$@" 2>&1)
  status=$?
}
put() {  # put FIXTURE MODE: the settings file as a copy of the fixture
  rm -f "$home"/.xscreensaver*
  if [ "$1" != absent ]; then
    cp "$2" "$home/.xscreensaver" 2>/dev/null || printf '%b' "$2" > "$home/.xscreensaver"
    chown nobody:nogroup "$home/.xscreensaver"
    chmod "$3" "$home/.xscreensaver"
  fi
}
quoted="'$work/scènes d'\\\\''été/MORVANE.INI'"  # as the shell word is escaped in the file

# Round trips: one line in at the end of the list, every other byte kept, the same file after.
for fixture in default customised; do
  put "$fixture" "$files/$fixture" 644
  run --add-to-xscreensaver "$scene"
  [ "$status" = 0 ] || fail "$fixture: add: status $status: $out"
  cmp -s "$home/.xscreensaver.morvane-backup" "$files/$fixture" || fail "$fixture: the backup is not the old file"
  added=$(diff "$files/$fixture" "$home/.xscreensaver" | grep '^>')
  [ "$(diff "$files/$fixture" "$home/.xscreensaver" | grep -c '^[<>]')" = 1 ] || fail "$fixture: more than one line changed"
  case "$added" in
    *'"Morvane"  '"$work/morvane-play --root --scene $quoted"*'\n\') ;;
    *) fail "$fixture: the added line is not the program line: $added" ;;
  esac
  # The last program: the blank line that ends the list follows it.
  line=$(grep -n -F -- "--scene" "$home/.xscreensaver" | cut -d: -f1)
  [ -z "$(sed -n "$((line + 1))p" "$home/.xscreensaver")" ] || fail "$fixture: the line is not the list's last"
  before=$(stat -c %a "$home/.xscreensaver")
  run --add-to-xscreensaver "$scene"
  [ "$status" = 0 ] && [[ "$out" == *"lists it already"* ]] || fail "$fixture: second add: $status: $out"
  [ "$(grep -c -F -- "--scene" "$home/.xscreensaver")" = 1 ] || fail "$fixture: listed twice"
  run --remove-from-xscreensaver
  [ "$status" = 0 ] || fail "$fixture: remove: status $status: $out"
  cmp -s "$home/.xscreensaver" "$files/$fixture" || fail "$fixture: not the same bytes after the round trip"
  [ "$(stat -c %a "$home/.xscreensaver")" = "$before" ] || fail "$fixture: the file's mode changed"
done

# No file: one made of the system's list and the program, which stays a full list without it.
put absent
run --add-to-xscreensaver
[ "$status" = 0 ] || fail "absent: add: status $status: $out"
[ -e "$home/.xscreensaver.morvane-backup" ] && fail "absent: a backup of nothing"
system_programs=$(grep -c -E '^-?( GL:)?[[:space:]]+[a-z0-9]+ --root' "$defaults")
made_programs=$(grep -c -E '^-?( GL:)?[[:space:]]+[a-z0-9]+ --root' "$home/.xscreensaver")
[ "$made_programs" = "$system_programs" ] || fail "absent: $made_programs of the system's $system_programs programs"
tail -n1 "$home/.xscreensaver" | grep -q -F "\"Morvane\"  $work/morvane-play --root \\n" || fail "absent: not the last program"
run --remove-from-xscreensaver
[ "$status" = 0 ] && ! grep -q -F "morvane-play --root" "$home/.xscreensaver" || fail "absent: remove: $status: $out"
[ "$(grep -c -E '^-?( GL:)?[[:space:]]+[a-z0-9]+ --root' "$home/.xscreensaver")" = "$system_programs" ] ||
  fail "absent: programs lost by the removal"
run --remove-from-xscreensaver
[ "$status" = 0 ] && [[ "$out" == *"nothing to take out"* ]] || fail "absent: second remove: $status: $out"

# Files it must not change: each refused with its reason, bytes and mode as they were, no backup.
truncated=$(head -n 60 "$files/default")
while IFS='|' read -r name content mode action says; do
  case "$content" in
    @*) source_file="$files/${content#@}" ;;
    *) source_file= ;;
  esac
  rm -f "$home"/.xscreensaver*
  if [ -n "$source_file" ]; then cp "$source_file" "$home/.xscreensaver"; else printf '%b' "$content" > "$home/.xscreensaver"; fi
  [ "$name" = "cut short" ] && printf '%s' "$truncated" > "$home/.xscreensaver"
  chown nobody:nogroup "$home/.xscreensaver"
  chmod "$mode" "$home/.xscreensaver"
  copy=$(mktemp) && cp "$home/.xscreensaver" "$copy"
  run "$action"
  [ "$status" = 1 ] || fail "$name: status $status: $out"
  [[ "$out" == *"$says"* && "$out" == *"nothing was changed"* ]] || fail "$name: says: $out"
  cmp -s "$copy" "$home/.xscreensaver" || fail "$name: the file changed"
  [ "$(stat -c %a "$home/.xscreensaver")" = "$mode" ] || fail "$name: the mode changed"
  [ "$(ls -A "$home")" = .xscreensaver ] || fail "$name: files left beside it: $(ls -A "$home")"
  rm -f "$copy"
done <<CASES
unreadable|@default|200|--add-to-xscreensaver|Permission denied
read-only|@customised|444|--add-to-xscreensaver|read-only
read-only removal|@customised|444|--remove-from-xscreensaver|read-only
cut short|@default|644|--add-to-xscreensaver|cut short
not text|lock: False\n\0\0\0programs: x\n|644|--add-to-xscreensaver|NUL byte
two lists|programs: a --root \\\\n\n\nprograms: b --root \\\\n\n|644|--add-to-xscreensaver|two programs lists
stray line|timeout: 0:10:00\nthis is not a setting\n|644|--remove-from-xscreensaver|neither a comment
CASES

# A scene it cannot play is not listed.
put customised "$files/customised" 644
run --add-to-xscreensaver "$work/no such scene.scr"
[ "$status" = 1 ] && cmp -s "$home/.xscreensaver" "$files/customised" || fail "missing scene: $status: $out"

[ "$failures" = 0 ] || exit 1
echo "add and remove kept every other byte of the default, customised and absent files; bad files stayed as they were"
