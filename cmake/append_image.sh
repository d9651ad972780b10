#!/usr/bin/env bash
# The designer carries a byte copy of the player at its end, which the builder copies into
# every packaged saver.
#   append_image.sh PROGRAM IMAGE OUTPUT
set -euo pipefail
cat "$1" "$2" > "$3.tmp"
mv "$3.tmp" "$3"
