#!/usr/bin/env bash
# Pads a linked player program with zero bytes to exactly the player image size; fails when the
# program is already larger, since every packaged saver finds its scene at that offset.
#   pad_image.sh PROGRAM IMAGE SIZE
set -euo pipefail
program=$1 image=$2 size=$3
actual=$(stat -c %s "$program")
if [ "$actual" -gt "$size" ]; then
  echo "error: the linked player $program is $actual bytes, $((actual - size)) over the player image size of $size bytes" >&2
  exit 1
fi
cp "$program" "$image.tmp"
truncate -s "$size" "$image.tmp"
mv "$image.tmp" "$image"
echo "player image: program $actual bytes, padded to $size ($((size - actual)) bytes to spare)"
