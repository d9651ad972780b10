#!/usr/bin/env bash
# morvane-pack.exe under Wine, decoding sounds with the system's Audio Compression Manager and
# Media Foundation, against the native morvane-pack with libmpg123 and libsndfile: the same
# sounds are taken and the same left out (each named), MP3, FLAC and IMA ADPCM give the very
# bytes, and the other decoded sounds the same shape of wave within 2 % of its length. Damaged
# files (noise in the middle) are where decoders part ways, one passing over what the other
# stops at: each system must then refuse the file by name or store a whole wave, nothing more.
#   windows_sounds.sh WINE-RUN SESSION-DIR MORVANE-PACK.EXE FOLDER NATIVE-BIN PLAYER-IMAGE
set -euo pipefail
wine_run=$1 session=$2 tool=$3 folder=$4 native=$5 player=$6
windows() { local p=$1; echo "Z:${p//\//\\}"; }
for program in morvane-sound-fixtures morvane-pack; do
  [ -x "$native/$program" ] || { echo "FAIL: $native/$program is missing; build the native preset first"; exit 1; }
done
rm -rf "$folder"
mkdir -p "$folder"
"$native/morvane-sound-fixtures" "$folder"
cp "$player" "$folder/player.scr"
# The wave a saver of nothing but a sound holds starts after the 60-byte empty scene's first
# 55 bytes and the sound record's tag and length.
wave_at=$((49152 + 55 + 5 + 1))
field() { od -An -t u"$3" -j $((wave_at - 1 + $2)) -N "$3" "$1" | tr -d ' '; }
left_out() { tr -d '\r' <"$1" | grep -c ': left out: ' || true; }
status=0
for ini in "$folder"/*.ini; do
  name=$(basename "$ini" .ini)
  "$native/morvane-pack" --settings "$ini" --player "$folder/player.scr" "$folder/$name-linux.scr" >"$folder/$name-linux.log" 2>&1
  "$wine_run" "$session" "$tool" --settings "$(windows "$ini")" --player "$(windows "$folder/player.scr")" \
    "$(windows "$folder/$name-windows.scr")" >"$folder/$name-windows.log" 2>&1 ||
    { echo "FAIL: morvane-pack.exe could not build with $name"; cat "$folder/$name-windows.log"; status=1; continue; }
  linux=$(left_out "$folder/$name-linux.log") win=$(left_out "$folder/$name-windows.log")
  if [ "$linux" != "$win" ]; then
    case "$name" in
      bad-*)
        for side in linux windows; do
          [ "$(left_out "$folder/$name-$side.log")" = 0 ] || grep -q "sound $name: left out: " "$folder/$name-$side.log" ||
            { echo "FAIL: $name: not named on $side"; status=1; }
        done
        echo "$name: taken on one system, left out on the other:" $(cat "$folder/$name-linux.log" "$folder/$name-windows.log" | tr -d '\r')
        continue ;;
    esac
    echo "FAIL: $name: left out on one system only"; cat "$folder/$name-linux.log" "$folder/$name-windows.log"; status=1
    continue
  fi
  if [ "$linux" != 0 ]; then
    grep -q "sound $name: left out: " "$folder/$name-windows.log" || { echo "FAIL: $name: not named"; status=1; }
    echo "$name: left out on both: $(tr -d '\r' <"$folder/$name-windows.log" | sed 's/^morvane-pack: //')"
    continue
  fi
  case "$name" in
    tone.mp3|tone.flac|ima.wav|mp3-named.wav)
      cmp -s "$folder/$name-linux.scr" "$folder/$name-windows.scr" || { echo "FAIL: $name: the saver's bytes differ"; status=1; }
      echo "$name: the same bytes on both" ;;
    *)
      for at in "22 2" "24 4" "34 2"; do
        set -- $at
        [ "$(field "$folder/$name-linux.scr" "$1" "$2")" = "$(field "$folder/$name-windows.scr" "$1" "$2")" ] ||
          { echo "FAIL: $name: the wave's format differs at byte $1"; status=1; }
      done
      a=$(field "$folder/$name-linux.scr" 40 4) b=$(field "$folder/$name-windows.scr" 40 4)
      [ $((a > b ? a - b : b - a)) -le $((a / 50)) ] || { echo "FAIL: $name: $a and $b bytes of samples"; status=1; }
      echo "$name: PCM waves of the same format, $a and $b bytes of samples" ;;
  esac
done
exit $status
