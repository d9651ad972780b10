#!/usr/bin/env bash
# make deb as a user runs it, then lintian on the package: no errors, dependencies taken from
# the shared libraries, and the files a working hack needs in the package.
#   debian_package.sh SOURCE_DIR
set -uo pipefail
source=$(cd "${1:?source folder}" && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || skip "$tool is missing (scripts/setup installs lintian and dpkg-dev)"
done

log=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$log" "$work"' EXIT
rm -f "$source"/build/release/morvane_*.deb
nice make -C "$source" deb >"$log" 2>&1 || { echo "FAILED: make deb" >&2; tail -30 "$log" >&2; exit 1; }
deb=$(ls "$source"/build/release/morvane_*.deb 2>/dev/null | head -n1)
[ -f "$deb" ] || { echo "FAILED: make deb wrote no package" >&2; exit 1; }
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1
echo "lintian on $(basename "$deb"):"
grep -v 'running with root privileges' "$work/lintian" | sed 's/^/  /'
grep -q '^E: ' "$work/lintian" && fail "lintian reports errors"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libx11-6 libxext6 libxinerama1 libxrandr2 libpulse0 libpng16-16 libgif7 libimagequant0 libc6; do
  [[ "$depends" == *"$library"* ]] || fail "no dependency on $library"
done
dpkg-deb -x "$deb" "$work/root"
for file in usr/libexec/xscreensaver/morvane-play usr/bin/morvane-render usr/bin/morvane-pack \
            usr/share/xscreensaver/config/morvane-play.xml usr/share/morvane/player.scr \
            usr/share/morvane/sample/MORVANE.INI usr/share/man/man6/morvane-play.6.gz usr/share/man/man5/morvane-settings.5.gz usr/share/doc/morvane/copyright; do
  [ -e "$work/root/$file" ] || fail "no $file in the package"
done
"$work/root/usr/bin/morvane-render" "$work/root/usr/share/morvane/sample/MORVANE.INI" --size 64x48 --seconds 0.1 \
  "$work/sample.png" >/dev/null || fail "the packaged morvane-render cannot play the packaged sample scene"

[ "$failures" = 0 ] || exit 1
echo "make deb built $(basename "$deb"); lintian reports no errors"
