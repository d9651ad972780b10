#!/usr/bin/env bash
# The install into a staging folder (DESTDIR) for PREFIX /usr, as make install does it from a
# build tree: every program, the player image, the sample scene with its pictures, the
# description and the manual pages in their places and working from there; then the uninstall
# leaves nothing of it, keeps what it did not install, and ends cleanly when files are gone.
#   install_staging.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
source=$(cd "${2:?source folder}" && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }
player=$(sed -n 's/^MORVANE_INSTALL_PLAYER_IMAGE:FILEPATH=//p' "$build/CMakeCache.txt")
[ -f "$player" ] || skip "$player is missing: the win32 build makes it (make test builds it first)"
for built in man/morvane-play.6.gz man/morvane-render.1.gz man/morvane-pack.1.gz man/morvane-settings.5.gz tools/morvane-play/sample/MORVANE.INI; do
  [ -f "$build/$built" ] || { echo "FAILED: $build/$built is not built" >&2; exit 1; }
done

stage=$(mktemp -d /tmp/morvane-stage-XXXXXX)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
install_staged() {
  DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >"$stage/install.log" 2>&1 ||
    { fail "the install failed"; cat "$stage/install.log" >&2; }
}
uninstall_staged() {
  "$source/scripts/uninstall" "$build/install_manifest.txt" "$stage/root" 2>&1
}
root="$stage/root"
usr="$root/usr"

install_staged
for file in libexec/xscreensaver/morvane-play bin/morvane-render bin/morvane-pack; do
  [ -x "$usr/$file" ] && [ ! -L "$usr/$file" ] || fail "no program $file"
done
[ "$(readlink "$usr/bin/morvane-play")" = ../libexec/xscreensaver/morvane-play ] || fail "bin/morvane-play is not the link"
[ "$(stat -c %s "$usr/share/morvane/player.scr")" = 49152 ] || fail "no player image of 49152 bytes"
[ -f "$usr/share/xscreensaver/config/morvane-play.xml" ] || fail "the description is not where XScreenSaver reads it"
grep -q '<screensaver name="morvane-play"' "$usr/share/xscreensaver/config/morvane-play.xml" || fail "the description names another hack"
for page in man6/morvane-play.6 man1/morvane-render.1 man1/morvane-pack.1 man5/morvane-settings.5; do
  gzip -dc "$usr/share/man/$page.gz" | grep -q '^\.SH NAME' || fail "no manual page $page"
done
# Every picture and the wave the sample scene names are there with it.
sample="$usr/share/morvane/sample"
while IFS= read -r name; do
  [ -f "$sample/$name" ] || fail "the sample scene's $name is missing"
done < <(grep -a -o -E '[^=]+\.(bmp|wav|png|jpg)' "$sample/MORVANE.INI" | sort -u)
[ "$(grep -a -c -E '\.(bmp|wav)' "$sample/MORVANE.INI")" -gt 3 ] || fail "the sample scene names no pictures"

# The programs work from their places: the pack tool takes the installed player image, and the
# player finds the sample scene from its link (it then stops only at the missing display).
"$usr/bin/morvane-pack" --settings "$sample/MORVANE.INI" "$stage/sample.scr" >"$stage/pack.log" 2>&1 ||
  fail "morvane-pack with the installed player image: $(cat "$stage/pack.log")"
# A scene without comment lines keeps the image byte for byte (a first comment line would become
# the saver's description in its version resource).
"$usr/bin/morvane-pack" --settings "$stage/no-settings.ini" "$stage/plain.scr" >"$stage/pack.log" 2>&1 ||
  fail "morvane-pack of the default scene: $(cat "$stage/pack.log")"
cmp -s -n 49152 "$stage/plain.scr" "$usr/share/morvane/player.scr" || fail "the package does not start with the player image"
"$usr/bin/morvane-render" "$stage/sample.scr" --size 64x48 --seconds 0.1 "$stage/sample.png" >/dev/null ||
  fail "morvane-render cannot play the package"
out=$(env -u DISPLAY "$usr/bin/morvane-play" 2>&1)
[[ "$out" == *"cannot open display"* ]] || fail "morvane-play did not find its sample scene: $out"
for tool in bin/morvane-play bin/morvane-render bin/morvane-pack; do
  "$usr/$tool" --version | grep -q -E '^morvane-[a-z]+ \(Morvane\) [0-9]+\.[0-9]+' || fail "$tool --version"
  "$usr/$tool" --help | grep -q '^Usage: ' || fail "$tool --help"
done

# The uninstall removes what was installed and the folders it made, and keeps a file of the user's.
mkdir -p "$usr/share/morvane/mine" && echo kept > "$usr/share/morvane/mine/scene.ini"
out=$(uninstall_staged) || fail "uninstall: $out"
left=$(cd "$root" && find . -mindepth 1 | sort | tr '\n' ' ')
[ "$left" = "./usr ./usr/share ./usr/share/morvane ./usr/share/morvane/mine ./usr/share/morvane/mine/scene.ini " ] ||
  fail "left after the uninstall: $left"
rm -rf "$usr/share/morvane/mine"
out=$(uninstall_staged) || fail "a second uninstall: $out"
[[ "$out" == *"removed 0 files"* ]] || fail "a second uninstall: $out"

# Files removed by hand before the uninstall: the rest goes, and it still ends cleanly.
install_staged
rm -f "$usr/bin/morvane-render" "$usr/share/man/man1/morvane-pack.1.gz"
rm -rf "$sample"
out=$(uninstall_staged) || fail "uninstall after files were removed by hand: $out"
[[ "$out" == *"were already gone"* ]] || fail "uninstall after files were removed by hand: $out"
left=$(cd "$root" && find . -mindepth 1 | sort | tr '\n' ' ')
[ -z "$left" ] || fail "left after the uninstall: $left"

[ "$failures" = 0 ] || exit 1
echo "installed into $root, every file in its place and working; the uninstall left nothing"
