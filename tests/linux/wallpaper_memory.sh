#!/usr/bin/env bash
# The players' memory with a wallpaper far larger than any screen: morvane-render of the release
# build (the optimised programs people run) plays a settings file naming an 8192 x 8192 PNG,
# stretched and centred, one naming the same size of PNG of noise (a file of 201 MB, which the
# decoder reads as it goes) and one naming a 7680 x 4320 bitmap, and its peak resident memory
# stays within 64 MiB plus three screen-sized buffers of four bytes a pixel.
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
"$release/bin/morvane-picture-fixtures" --large-png 8192x8192 "$work/large.png" &&
  "$release/bin/morvane-picture-fixtures" --large-bmp 7680x4320 "$work/large.bmp" &&
  "$release/bin/morvane-picture-fixtures" --noise-png 8192x8192 "$work/noise.png" ||
  { echo "FAILED: writing the large pictures" >&2; exit 1; }
width=1920 height=1080
limit_kb=$(( (64 * 1024 * 1024 + 3 * width * height * 4) / 1024 ))
failures=0
# The PNG is brought within the limit on the way, with a note; the bitmap (100 MB of rows, the
# largest a saver keeps) is read from its file a row at a time as it is.
for case in "large.png 1 7680 x 4320" "large.png 0 7680 x 4320" "noise.png 1 7680 x 4320" "large.bmp 1" "large.bmp 0"; do
  read -r picture stretch said <<<"$case"
  printf '[BackGround]\nErase=0\nColorR=16\nColorG=24\nColorB=64\nBmpOpt1=1\nBmpOpt2=%s\nBmp=%s\n' \
    "$stretch" "$picture" >"$work/scene.ini"
  peak=$(/usr/bin/time -f %M "$release/bin/morvane-render" "$work/scene.ini" --size ${width}x$height \
    --seconds 0.1 --seed 1 "$work/out.png" 2>&1 >/dev/null | tail -n1)
  # The wallpaper must have been taken (and brought within the limit where it is larger), not
  # left out.
  notes=$("$release/bin/morvane-render" "$work/scene.ini" --size 64x48 --seconds 0.05 --seed 1 "$work/small.png" 2>&1)
  case $notes in
    *"$picture"*"left out"*) echo "FAILED: $picture was left out (stretch $stretch): $notes" >&2; failures=$((failures + 1)) ;;
  esac
  if [ -n "$said" ] && [[ $notes != *"$picture"*"$said"* ]]; then
    echo "FAILED: $picture was not brought within the limit (stretch $stretch): $notes" >&2; failures=$((failures + 1))
  fi
  echo "$picture BmpOpt2=$stretch: peak $peak KB of at most $limit_kb KB"
  [ "$peak" -le "$limit_kb" ] 2>/dev/null || { echo "FAILED: peak $peak KB above $limit_kb KB" >&2; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ]
