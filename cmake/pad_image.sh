#!/usr/bin/env bash
# Pads a linked player program with zero bytes to exactly the player image size; fails when the
# program is already larger, since every packaged saver finds its scene at that offset, and when
# less than the kept room would be left of the image beside the program's unpadded bytes
# (unpadded_size.sh), so that a small addition to the player never has to begin by making room.
#   pad_image.sh PROGRAM IMAGE SIZE ROOM
set -euo pipefail
program=$1 image=$2 size=$3 room=$4
actual=$(stat -c %s "$program")
if [ "$actual" -gt "$size" ]; then
  echo "error: the linked player $program is $actual bytes, $((actual - size)) over the player image size of $size bytes" >&2
  exit 1
fi
unpadded=$("$(dirname "$0")/unpadded_size.sh" "$program")
if [ $((size - unpadded)) -lt "$room" ]; then
  echo "error: the linked player $program holds $unpadded bytes without padding, which leaves $((size - unpadded))" \
       "of the player image size of $size bytes; the player keeps at least $room bytes free" >&2
  exit 1
fi
cp "$program" "$image.tmp"
truncate -s "$size" "$image.tmp"
mv "$image.tmp" "$image"
echo "player image: program $actual bytes ($unpadded unpadded), padded to $size ($((size - actual)) bytes to spare," \
     "$((size - unpadded)) unpadded)"
