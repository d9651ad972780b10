#!/usr/bin/env bash
# morvane-play's sound through a sound server: a private PulseAudio with a null sink receives the
# sample scene's looping chord (recorded back from the sink's monitor, it is not silence); with
# -no-sound nothing reaches the server; with no server the scene plays silently and says so. A
# packaged saver's long sound plays from the saver's file without gathering in memory, and a
# settings file's wave of the largest size taken plays from its file within the players' bound, as
# does a settings file's FLAC that decodes to more than the bound, leaving no file behind.
#   sound_server.sh MORVANE_PLAY MORVANE_DEMO_SCENE MORVANE_PACK MORVANE_SOUND_FIXTURES
set -uo pipefail
play=${1:?morvane-play}
demo=${2:?morvane-demo-scene}
pack=${3:?morvane-pack}
fixtures=${4:?morvane-sound-fixtures}
skip() { echo "SKIPPED: $*"; exit 77; }
for tool in pulseaudio pactl parec Xvfb; do command -v $tool >/dev/null || skip "$tool is not installed (scripts/setup installs it)"; done

work=$(mktemp -d /tmp/morvane-sound-XXXXXX)
pids=()
finish() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap finish EXIT
fail() { echo "FAILED: $*" >&2; cat "$work"/*.log >&2; exit 1; }

mkdir "$work/scene"
"$demo" "$work/scene" || fail "the sample scene could not be drawn"
export HOME=$work PULSE_RUNTIME_PATH=$work/pulse
mkdir -p "$PULSE_RUNTIME_PATH"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --load="module-null-sink sink_name=morvane" \
  --load="module-native-protocol-unix socket=$work/pulse.sock auth-anonymous=1" >"$work/pulse.log" 2>&1 &
pids+=($!)
export PULSE_SERVER=unix:$work/pulse.sock
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "PulseAudio did not start"

Xvfb -displayfd 3 -screen 0 320x240x24 -ac -br -noreset -nolisten tcp 3>"$work/display" </dev/null >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"

"$play" -root "$work/scene/MORVANE.INI" >"$work/play.log" 2>&1 &
player=$!
sleep 2
pactl list short sink-inputs | grep -q . || fail "no sound reached the server"
peak=$(timeout 2 parec -d morvane.monitor --format=s16le --channels=1 --rate=11025 --raw |
  od -An -td2 -w2 | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
echo "peak of the recorded sound: $peak"
[ "$peak" -gt 1000 ] || fail "the server received silence"
kill -TERM "$player"; wait "$player" || fail "morvane-play did not end cleanly"
sleep 0.5
pactl list short sink-inputs | grep -q . && fail "the sound went on after the player ended"

"$play" -root -no-sound "$work/scene/MORVANE.INI" >"$work/quiet.log" 2>&1 &
player=$!
sleep 1.5
pactl list short sink-inputs | grep -q . && fail "-no-sound still played"
kill -TERM "$player"; wait "$player" || fail "morvane-play -no-sound did not end cleanly"

PULSE_SERVER=unix:$work/nowhere.sock "$play" -root "$work/scene/MORVANE.INI" >"$work/silent.log" 2>&1 &
player=$!
sleep 1.5
kill -0 "$player" 2>/dev/null || fail "without a sound server the player stopped"
kill -TERM "$player"; wait "$player" || fail "morvane-play without a server did not end cleanly"
grep -q "plays silently" "$work/silent.log" || fail "no word that the sound plays silently"
echo "sound through the server, silent without it or with -no-sound"

# 30 s of 8-channel 16-bit noise at 48 kHz (768 kB a second), packaged: the pages of the saver's
# file that the sound has played must not stay with the player (a full round of a 256 MiB sound
# would otherwise keep all of it), so its file-backed memory does not grow as it plays.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24)); }
bytes=$((48000 * 16 * 30))
{ printf "RIFF$(le32 $((36 + bytes)))WAVEfmt $(le32 16)\x01\x00\x08\x00$(le32 48000)$(le32 768000)\x10\x00\x10\x00data$(le32 $bytes)"
  head -c $bytes /dev/urandom; } >"$work/long.wav"
printf '[BackGround]\r\nSoundOpt=1\r\nSound=long.wav\r\n' >"$work/long.ini"
# A player image: on Linux only its first two bytes are looked at.
{ printf MZ; head -c 49150 /dev/zero; } >"$work/player.scr"
"$pack" --settings "$work/long.ini" --player "$work/player.scr" "$work/long.scr" >"$work/pack.log" 2>&1 ||
  fail "the long sound's saver could not be built"
"$play" -root "$work/long.scr" >"$work/long.log" 2>&1 &
player=$!
file_kb() { awk '/^RssFile:/ { print $2 }' "/proc/$player/status"; }
sleep 2
pactl list short sink-inputs | grep -q . || fail "the packaged saver's sound did not reach the server"
before=$(file_kb)
sleep 8
after=$(file_kb)
kill -TERM "$player"; wait "$player" || fail "morvane-play with the long sound did not end cleanly"
echo "file-backed memory of the long sound's player: $before kB, then $after kB 8 s (6 MB of sound) later"
[ $((after - before)) -lt 2048 ] || fail "the played sound stays in memory: $before kB, then $after kB"
echo "a packaged saver's long sound plays from its file without gathering in memory"

# The sample scene with a wave of the largest size taken (256 MiB: 4 MiB of noise, then sparse
# silence), played from its file: heard, with the player under 64 MB and three screen buffers.
bytes=$(((256 << 20) - 44))
{ printf "RIFF$(le32 $((36 + bytes)))WAVEfmt $(le32 16)\x01\x00\x02\x00$(le32 48000)$(le32 192000)\x04\x00\x10\x00data$(le32 $bytes)"
  head -c $((4 << 20)) /dev/urandom; } >"$work/scene/large.wav"
truncate -s $((256 << 20)) "$work/scene/large.wav"
sed 's/^Sound=chord.wav/Sound=large.wav/' "$work/scene/MORVANE.INI" >"$work/scene/large.ini"
grep -q '^Sound=large.wav' "$work/scene/large.ini" || fail "the sample scene names no chord.wav to replace"
"$play" -root "$work/scene/large.ini" >"$work/large.log" 2>&1 &
player=$!
sleep 2
peak=$(timeout 2 parec -d morvane.monitor --format=s16le --channels=1 --rate=11025 --raw |
  od -An -td2 -w2 | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
peak_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$player/status")
# Cut behind what has played: the player goes on, and says why it hears silence.
truncate -s 65536 "$work/scene/large.wav"
sleep 1
kill -TERM "$player"; wait "$player" || fail "morvane-play with the largest wave, cut short, did not end cleanly"
grep -q "cut short while it played" "$work/large.log" || fail "no word that the sound's file was cut short"
bound_kb=$(((64 << 10) + 3 * 320 * 240 * 4 / 1024))
echo "the largest wave: recorded peak $peak, the player's peak memory $peak_kb kB (bound $bound_kb kB)"
[ "$peak" -gt 1000 ] || fail "the largest wave was not heard"
[ "$peak_kb" -lt "$bound_kb" ] || fail "the largest wave's player took $peak_kb kB"

# Eight minutes of a stereo tone as FLAC decode to an 85 MB wave: it goes into a file of the
# player's own, nameless, and is heard from there with the player under the same bound.
"$fixtures" --long-flac 480 "$work/scene/long.flac" || fail "the long FLAC could not be written"
sed 's/^Sound=chord.wav/Sound=long.flac/' "$work/scene/MORVANE.INI" >"$work/scene/flac.ini"
mkdir "$work/tmp"
TMPDIR=$work/tmp "$play" -root "$work/scene/flac.ini" >"$work/flac.log" 2>&1 &
player=$!
for _ in $(seq 100); do pactl list short sink-inputs | grep -q . && break; sleep 0.1; done
peak=$(timeout 2 parec -d morvane.monitor --format=s16le --channels=1 --rate=11025 --raw |
  od -An -td2 -w2 | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
peak_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$player/status")
left=$(ls -A "$work/tmp")
kill -TERM "$player"; wait "$player" || fail "morvane-play with the long FLAC did not end cleanly"
echo "the long FLAC: recorded peak $peak, the player's peak memory $peak_kb kB (bound $bound_kb kB)"
[ "$peak" -gt 1000 ] || fail "the long FLAC was not heard"
[ "$peak_kb" -lt "$bound_kb" ] || fail "the long FLAC's player took $peak_kb kB"
[ -z "$left" ] || fail "the decoded wave left a file behind: $left"
