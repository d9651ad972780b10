#!/usr/bin/env bash
# Prints the bytes a linked Windows program holds without the padding that rounds its headers and
# each section up to the file alignment: the end of the section table, plus every section's
# contents as loaded. This, not the file size, says how much more code and data still fit.
#   unpadded_size.sh PROGRAM
set -euo pipefail
program=$1
# A little-endian unsigned field of `size` bytes at `offset`.
field() { od -An -t "u$2" -j "$1" -N "$2" --endian=little "$program" | tr -d ' '; }
header=$(field 60 4)
sections=$(field $((header + 6)) 2)
optional=$(field $((header + 20)) 2)
table=$((header + 24 + optional))
total=$((table + 40 * sections))
for ((i = 0; i < sections; i++)); do
  entry=$((table + 40 * i))
  loaded=$(field $((entry + 8)) 4) stored=$(field $((entry + 16)) 4)
  total=$((total + (loaded < stored ? loaded : stored)))
done
echo "$total"
