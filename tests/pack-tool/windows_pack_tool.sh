#!/usr/bin/env bash
# morvane-pack.exe under Wine: exit codes, the refusal of a wrong player image, the golden
# scene packaged to the committed bytes by the Windows console program itself, and a full disk
# and a read-only folder that must leave an old saver whole.
#   windows_pack_tool.sh WINE-RUN SESSION-DIR MORVANE-PACK.EXE GOLDEN-SCENE-DIR
set -euo pipefail
wine_run=$1 session=$2 tool=$3 scene=$4
work=$(mktemp -d)
disk=$work/disk
trap 'umount -l "$disk" 2>/dev/null || true; rm -rf "$work"' EXIT
windows() { local p=$1; echo "Z:${p//\//\\}"; }
pack() { "$wine_run" "$session" "$tool" "$@" >"$work/out.txt" 2>&1; }
expect() {
  local want=$1; shift
  local got=0
  pack "$@" || got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: morvane-pack $* exited $got, expected $want"; cat "$work/out.txt"; exit 1
  fi
}

head -c 49152 /dev/zero | tr '\0' 'Z' > "$work/player.scr"
head -c 49000 /dev/zero > "$work/short.scr"
player=$(windows "$work/player.scr")
settings=$(windows "$scene/MORVANE.INI")

expect 0 --help
grep -q "Usage: morvane-pack" "$work/out.txt"
expect 2
expect 2 --frobnicate "$(windows "$work/x.scr")"
expect 1 --settings "$settings" --player "$(windows "$work/short.scr")" "$(windows "$work/x.scr")"
grep -q 49152 "$work/out.txt"
[ ! -e "$work/x.scr" ] || { echo "FAIL: output written despite a wrong player image"; exit 1; }

expect 0 --settings "$settings" --player "$player" "$(windows "$work/golden.scr")"
tail -c +49153 "$work/golden.scr" | cmp - "$scene/scene.pkg"
head -c 49152 "$work/golden.scr" | cmp - "$work/player.scr"
# No signer on this system: refused before anything is written.
expect 1 --settings "$settings" --player "$player" --sign "$(windows "$work/player.scr")" "$(windows "$work/signed.scr")"
grep -q "osslsigncode is not installed" "$work/out.txt"
[ ! -e "$work/signed.scr" ] || { echo "FAIL: output written without a signer"; exit 1; }
echo "morvane-pack.exe: exit codes and golden scene as expected"

# The golden scene's package is larger than the room the old saver leaves on a 96 KiB disk.
mkdir "$disk"
if ! mount -t tmpfs -o size=96k tmpfs "$disk" 2>"$work/mount.txt"; then
  echo "SKIPPED full disk and read-only folder: cannot mount a tmpfs here: $(cat "$work/mount.txt")"
  exit 0
fi
head -c 50000 /dev/urandom > "$disk/keep.scr"
cp "$disk/keep.scr" "$work/keep.copy"
unchanged() {
  cmp -s "$disk/keep.scr" "$work/keep.copy" || { echo "FAIL: $1: the old saver was changed"; exit 1; }
  [ "$(ls -A "$disk")" = keep.scr ] || { echo "FAIL: $1: left behind: $(ls -A "$disk")"; exit 1; }
}
for name in keep.scr new.scr; do
  expect 1 --settings "$settings" --player "$player" "$(windows "$disk/$name")"
  grep -q "left as it was" "$work/out.txt" || { echo "FAIL: no clear message"; cat "$work/out.txt"; exit 1; }
  unchanged "full disk, $name"
done
mount -o remount,ro "$disk"
expect 1 --settings "$settings" --player "$player" "$(windows "$disk/keep.scr")"
unchanged "read-only folder"
echo "morvane-pack.exe: full disk and read-only folder left the old saver whole"
