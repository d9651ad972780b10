#!/usr/bin/env bash
# The players' memory with a wallpaper far larger than any screen: morvane-render of the release
# build (the optimised programs people run) plays a settings file naming an 8192 x 8192 PNG,
# stretched and centred, and its peak resident memory stays within 64 MiB plus three
# screen-sized buffers of four bytes a pixel.
#   wallpaper_memory.sh SOURCE_DIR
set -uo pipefail
source=$(cd "${1:?source folder}" && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }
[ -x /usr/bin/time ] || skip "/usr/bin/time is missing"
release=$source/build/release
[ -f "$release/build.ninja" ] ||
  cmake --preset release -S "$source" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
nice cmake --build "$release" --target morvane-render morvane-picture-fixtures >/dev/null ||
  { echo "FAILED: building the release morvane-render" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$release/bin/morvane-picture-fixtures" --large-png 8192x8192 "$work/large.png" ||
  { echo "FAILED: writing the large PNG" >&2; exit 1; }
width=1920 height=1080
limit_kb=$(( (64 * 1024 * 1024 + 3 * width * height * 4) / 1024 ))
failures=0
for stretch in 1 0; do
  printf '[BackGround]\nErase=0\nColorR=16\nColorG=24\nColorB=64\nBmpOpt1=1\nBmpOpt2=%s\nBmp=large.png\n' \
    "$stretch" >"$work/scene.ini"
  peak=$(/usr/bin/time -f %M "$release/bin/morvane-render" "$work/scene.ini" --size ${width}x$height \
    --seconds 0.1 --seed 1 "$work/out.png" 2>&1 >/dev/null | tail -n1)
  # The wallpaper must have been taken (and brought within the limit), not left out.
  notes=$("$release/bin/morvane-render" "$work/scene.ini" --size 64x48 --seconds 0.05 --seed 1 "$work/small.png" 2>&1)
  case $notes in
    *"large.png"*"7680 x 4320"*) ;;
    *) echo "FAILED: the wallpaper was not taken as expected (stretch $stretch): $notes" >&2; failures=$((failures + 1)) ;;
  esac
  echo "BmpOpt2=$stretch: peak $peak KB of at most $limit_kb KB"
  [ "$peak" -le "$limit_kb" ] 2>/dev/null || { echo "FAILED: peak $peak KB above $limit_kb KB" >&2; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ]
