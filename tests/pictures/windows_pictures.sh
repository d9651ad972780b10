#!/usr/bin/env bash
# morvane-pack.exe under Wine, reading pictures through the system's imaging component: PNG and
# GIF scenes give the very bytes the Linux tool gives; in the scene with JPEG frames only the
# JPEG frames may differ, and their largest channel difference is printed.
#   windows_pictures.sh WINE-RUN SESSION-DIR MORVANE-PACK.EXE FIXTURES NATIVE-BIN
set -euo pipefail
wine_run=$1 session=$2 tool=$3 fixtures=$4 native=$5
windows() { local p=$1; echo "Z:${p//\//\\}"; }
# A report line with its file named by the file's own name; Windows' console ends lines in CR LF.
named_by_file() { tr -d '\r' <"$1" | sed -E 's#^(morvane-pack: [a-z]+: [^/\\]*) [^ ]*[/\\]([^/\\ ]+): #\1 \2: #'; }
for scene in pictures mixed; do
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
printf '[Initial]\r\nCrear=1\r\n[BackGround]\r\nBmpOpt1=1\r\nBmp=cut.png\r\n[Character]\r\n' >"$damaged/damaged.ini"
letters=(A B C D E F G H)
names=(cut.png wide.png noise.png cut.jpg precision.jpg cut.gif tall.gif wrapped.bmp)
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
  [ "$(refusals "$damaged/$side.log" | wc -l)" = 9 ] ||
    { echo "FAIL: morvane-pack on $side did not refuse each damaged picture once"; cat "$damaged/$side.log"; exit 1; }
  tr -d '\r' <"$damaged/$side.log" | sed 's/^/  '"$side"': /'
done
diff <(refusals "$damaged/linux.log") <(refusals "$damaged/windows.log") ||
  { echo "FAIL: Linux and Windows refuse different pictures"; exit 1; }
cmp "$damaged/linux.scr" "$damaged/windows.scr" || { echo "FAIL: the packages around the refused pictures differ"; exit 1; }
echo "damaged pictures: each refused with a reason on both systems, the same package around them"
