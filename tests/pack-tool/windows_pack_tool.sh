#!/usr/bin/env bash
# morvane-pack.exe under Wine: exit codes, the refusal of a wrong player image, and the golden
# scene packaged to the committed bytes by the Windows console program itself.
#   windows_pack_tool.sh WINE-RUN SESSION-DIR MORVANE-PACK.EXE GOLDEN-SCENE-DIR
set -euo pipefail
wine_run=$1 session=$2 tool=$3 scene=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
echo "morvane-pack.exe: exit codes and golden scene as expected"
