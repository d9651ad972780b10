#!/usr/bin/env bash
# morvane-pack.exe under Wine, reading pictures through the system's imaging component: PNG and
# GIF scenes give the very bytes the Linux tool gives (the GIF scene's frames with their alpha, as
# composed from WIC's raw frames, against Debian's giflib, which the native tests hold to
# ImageMagick's coalesced frames); in the scene with JPEG frames only the
# JPEG frames may differ, and their largest channel difference is printed.
#   windows_pictures.sh WINE-RUN SESSION-DIR MORVANE-PACK.EXE FIXTURES NATIVE-BIN
set -euo pipefail
wine_run=$1 session=$2 tool=$3 fixtures=$4 native=$5
windows() { local p=$1; echo "Z:${p//\//\\}"; }
# A report line with its file named by the file's own name; Windows' console ends lines in CR LF.
named_by_file() { tr -d '\r' <"$1" | sed -E 's#^(morvane-pack: [a-z]+: [^/\\]*) [^ ]*[/\\]([^/\\ ]+): #\1 \2: #'; }
for scene in pictures mixed gifs; do
  "$wine_run" "$session" "$tool" --settings "$(windows "$fixtures/$scene.ini")" --player "$(windows "$fixtures/player.scr")" \
    "$(windows "$fixtures/$scene-windows.scr")" >"$fixtures/$scene-windows.log" 2>&1 ||
    { echo "FAIL: morvane-pack.exe could not build $scene.ini"; cat "$fixtures/$scene-windows.log"; exit 1; }
  # Both tools report the same notes about the same files (named by their own paths).
  diff <(named_by_file "$fixtures/$scene-windows.log") <(named_by_file "$fixtures/$scene-linux.log") ||
    { echo "FAIL: the notes of $scene.ini differ between Windows and Linux"; exit 1; }
done

cmp "$fixtures/pictures-windows.scr" "$fixtures/pictures-linux.scr" ||
  { echo "FAIL: the PNG and GIF scene differs between morvane-pack.exe and morvane-pack"; exit 1; }
echo "PNG and GIF scene: the same bytes from morvane-pack.exe and morvane-pack"
cmp "$fixtures/gifs-windows.scr" "$fixtures/gifs-linux.scr" ||
  { echo "FAIL: the GIF scene differs between morvane-pack.exe and morvane-pack"; exit 1; }
# Their frames travel with their own pixels, so the comparison covers alpha too.
[ "$(grep -a -o RGBA "$fixtures/gifs-linux.scr" | wc -l)" -ge 20 ] ||
  { echo "FAIL: the GIF scene's frames do not carry their own pixels"; exit 1; }
echo "GIF scene (every disposal, offsets, local tables, interlace, alpha): the same bytes from both"

status=0
"$native/morvane-package-compare" "$fixtures/mixed-windows.scr" "$fixtures/mixed-linux.scr" >"$fixtures/mixed-compare.txt" || status=$?
cat "$fixtures/mixed-compare.txt"
[ "$status" -le 1 ] || { echo "FAIL: the mixed scene differs in more than its frames' pixels"; exit 1; }
# Characters 3, 4 and 5 are the JPEG ones (photo, progressive, grey; CMYK; a bitmap wrapping a JPEG).
if grep -E '^(character [12] |wallpaper)' "$fixtures/mixed-compare.txt"; then
  echo "FAIL: a PNG or GIF frame of the mixed scene differs"; exit 1
fi
echo "mixed scene: only JPEG frames differ"

# Damaged and unsupported pictures of every format: each is left out with its name and a reason
# by both tools, the saver is written without them, and neither tool crashes.
damaged=$fixtures/damaged
rm -rf "$damaged"
mkdir -p "$damaged"
patch_bytes() { printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
head -c 300 "$fixtures/sprite-alpha.png" >"$damaged/cut.png"
cp "$fixtures/sprite-alpha.png" "$damaged/wide.png" && patch_bytes "$damaged/wide.png" 16 '\x00\x00\x4e\x20'
{ head -c 16 "$fixtures/wallpaper.png"; head -c 2000 /dev/zero | tr '\0' 'x'; } >"$damaged/noise.png"
head -c 600 "$fixtures/photo.jpg" >"$damaged/cut.jpg"
sof=$(LC_ALL=C grep -obUaP '\xff\xc0' "$fixtures/photo.jpg" | head -n1 | cut -d: -f1)
cp "$fixtures/photo.jpg" "$damaged/precision.jpg" && patch_bytes "$damaged/precision.jpg" $((sof + 4)) '\x0c'
head -c 200 "$fixtures/animated.gif" >"$damaged/cut.gif"
cp "$fixtures/still.gif" "$damaged/tall.gif" && patch_bytes "$damaged/tall.gif" 8 '\xff\xff'
cp "$fixtures/wrapped-png.bmp" "$damaged/wrapped.bmp" && patch_bytes "$damaged/wrapped.bmp" 10 '\xff\xff\xff\x00'
# GIFs: of no frame; with its first frame's LZW data overwritten; with an LZW code size beyond
# twelve bits. Ten thousand frames cut inside the fifth go on a scene of their own, below.
cp "$fixtures/empty.gif" "$damaged/empty.gif"
cp "$fixtures/still.gif" "$damaged/lzw.gif" && patch_bytes "$damaged/lzw.gif" 58 '\xff\xff\xff\xff\xff\xff'
cp "$fixtures/disposals.gif" "$damaged/codesize.gif" && patch_bytes "$damaged/codesize.gif" 74 '\x0f'
head -c 150 "$fixtures/frames10000.gif" >"$damaged/cutmany.gif"
printf '[Initial]\r\nCrear=1\r\n[BackGround]\r\nBmpOpt1=1\r\nBmp=cut.png\r\n[Character]\r\n' >"$damaged/damaged.ini"
letters=(A B C D E F G H I J K)
names=(cut.png wide.png noise.png cut.jpg precision.jpg cut.gif tall.gif wrapped.bmp empty.gif lzw.gif codesize.gif)
for i in "${!names[@]}"; do printf '%s0=%s\r\n' "${letters[$i]}" "${names[$i]}" >>"$damaged/damaged.ini"; done

refusals() { named_by_file "$1" | grep -E ': left out: ' | sed -E 's/^morvane-pack: ([^:]*): left out: .+$/\1/' | sort; }
for side in linux windows; do
  status=0
  if [ $side = linux ]; then
    "$native/morvane-pack" --settings "$damaged/damaged.ini" --player "$fixtures/player.scr" "$damaged/$side.scr" \
      >"$damaged/$side.log" 2>&1 || status=$?
  else
    "$wine_run" "$session" "$tool" --settings "$(windows "$damaged/damaged.ini")" --player "$(windows "$fixtures/player.scr")" \
      "$(windows "$damaged/$side.scr")" >"$damaged/$side.log" 2>&1 || status=$?
  fi
  # The saver is written without them: exit status 0, each left out named.
  [ "$status" = 0 ] || { echo "FAIL: morvane-pack on $side exited $status for damaged pictures, expected 0"; cat "$damaged/$side.log"; exit 1; }
  [ "$(refusals "$damaged/$side.log" | wc -l)" = 12 ] ||
    { echo "FAIL: morvane-pack on $side did not refuse each damaged picture once"; cat "$damaged/$side.log"; exit 1; }
  tr -d '\r' <"$damaged/$side.log" | sed 's/^/  '"$side"': /'
done
diff <(refusals "$damaged/linux.log") <(refusals "$damaged/windows.log") ||
  { echo "FAIL: Linux and Windows refuse different pictures"; exit 1; }
cmp "$damaged/linux.scr" "$damaged/windows.scr" || { echo "FAIL: the packages around the refused pictures differ"; exit 1; }
echo "damaged pictures: each refused with a reason on both systems, the same package around them"

# A GIF cut short after four whole frames, one whose records stop at a byte that starts none,
# and one whose fifth frame's image data is damaged, its records whole: the Windows tool gives
# the frames before the break, as the Linux one does, with the same note, and the same package.
# Its frames are 23 bytes each (control block and image) after 56 of header: four, then a 0.
{ head -c 148 "$fixtures/frames10000.gif"; printf '\x00'; } >"$damaged/stray.gif"
# Eight frames and the trailer; the fifth frame's two bytes of LZW codes start at 168.
{ head -c 240 "$fixtures/frames10000.gif"; printf '\x3b'; } >"$damaged/later.gif"
patch_bytes "$damaged/later.gif" 168 '\xff\xff'
for gif in cutmany stray later; do
  printf '[Initial]\r\nCrear=1\r\n[Character]\r\nA0=%s.gif\r\n' $gif >"$damaged/$gif.ini"
  "$native/morvane-pack" --settings "$damaged/$gif.ini" --player "$fixtures/player.scr" "$damaged/$gif-linux.scr" \
    >"$damaged/$gif-linux.log" 2>&1 || { echo "FAIL: morvane-pack exited $? for $gif.gif"; exit 1; }
  "$wine_run" "$session" "$tool" --settings "$(windows "$damaged/$gif.ini")" --player "$(windows "$fixtures/player.scr")" \
    "$(windows "$damaged/$gif-windows.scr")" >"$damaged/$gif-windows.log" 2>&1 ||
    { echo "FAIL: morvane-pack.exe exited $? for $gif.gif"; exit 1; }
  tr -d '\r' <"$damaged/$gif-windows.log" | sed 's/^/  windows: /'
  diff <(named_by_file "$damaged/$gif-windows.log") <(named_by_file "$damaged/$gif-linux.log") ||
    { echo "FAIL: the notes of $gif.gif differ between Windows and Linux"; exit 1; }
  cmp "$damaged/$gif-linux.scr" "$damaged/$gif-windows.scr" ||
    { echo "FAIL: $gif.gif gives different packages on Windows and Linux"; exit 1; }
done
grep -q 'frame A0 cutmany.gif: note: frames from 5 on cannot be read (GIF data ends early)' "$damaged/cutmany-linux.log" ||
  { echo "FAIL: morvane-pack did not say where the cut GIF ends"; cat "$damaged/cutmany-linux.log"; exit 1; }
grep -q 'frame A0 stray.gif: note: frames from 5 on cannot be read (GIF holds a record of unknown kind)' \
  "$damaged/stray-linux.log" || { echo "FAIL: morvane-pack did not say where stray.gif breaks"; cat "$damaged/stray-linux.log"; exit 1; }
grep -q 'frame A0 later.gif: note: frames from 5 on cannot be read (GIF image data is damaged)' \
  "$damaged/later-windows.log" || { echo "FAIL: morvane-pack.exe did not keep the frames before the damaged one"; exit 1; }
echo "GIFs cut short, broken or damaged after whole frames: the same frames, notes and package from both tools"
