#!/usr/bin/env bash
# morvane-play's sound through a sound server: a private PulseAudio with a null sink receives the
# sample scene's looping chord (recorded back from the sink's monitor, it is not silence); with
# -no-sound nothing reaches the server; with no server the scene plays silently and says so.
#   sound_server.sh MORVANE_PLAY MORVANE_DEMO_SCENE
set -uo pipefail
play=${1:?morvane-play}
demo=${2:?morvane-demo-scene}
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
