#!/usr/bin/env bash
# Draws the picture fixtures with the native build's tool and packages their two scenes with the
# native morvane-pack (Debian's decoders), for the Windows tests to compare their own packages
# with. The native build must exist: `make test` builds it first.
#   windows_fixtures.sh NATIVE-BIN FOLDER PLAYER-IMAGE
set -euo pipefail
native=$1 folder=$2 player=$3
for tool in morvane-picture-fixtures morvane-pack morvane-package-compare; do
  [ -x "$native/$tool" ] || { echo "FAIL: $native/$tool is missing; build the native preset first"; exit 1; }
done
rm -rf "$folder"
mkdir -p "$folder"
# Screen-sized pictures for the playback test, at the private session's screen size (tools/wine-session).
"$native/morvane-picture-fixtures" "$folder" --screen 1024x768
cp "$player" "$folder/player.scr"
for scene in pictures mixed gifs; do
  "$native/morvane-pack" --settings "$folder/$scene.ini" --player "$folder/player.scr" "$folder/$scene-linux.scr" 2>"$folder/$scene-linux.log"
done
echo "picture fixtures and their Linux packages in $folder"
