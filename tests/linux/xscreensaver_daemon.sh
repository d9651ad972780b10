#!/usr/bin/env bash
# morvane-play under the real XScreenSaver daemon: on a private Xvfb, a daemon whose programs
# list holds only the line morvane-play --add-to-xscreensaver wrote (for a scene whose name has
# spaces, an apostrophe and accents) shows the scene when activated, and the hack ends when the
# daemon deactivates. The daemon refuses to run hacks as root, so it and its commands run as nobody.
# With HEADS 2 the screen is two monitors side by side (Xephyr with Xinerama in an Xvfb): the
# daemon runs one hack per monitor, each on its own window, and each plays the scene.
#   xscreensaver_daemon.sh MORVANE_PLAY SCENE_FOLDER [HEADS]
set -uo pipefail
play=${1:?morvane-play}
scenes=${2:?the folder holding same-pixels.scr}
heads=${3:-1}
skip() { echo "SKIPPED: $*"; exit 77; }
command -v xscreensaver >/dev/null && command -v xscreensaver-command >/dev/null ||
  skip "xscreensaver is not installed (scripts/setup installs it)"
command -v setpriv >/dev/null || skip "setpriv is missing"
id nobody >/dev/null 2>&1 || skip "there is no user nobody to run the daemon as"
[ -f "$scenes/same-pixels.scr" ] || { echo "no $scenes/same-pixels.scr: linux_program_tests writes it" >&2; exit 1; }

work=$(mktemp -d /tmp/morvane-xss-XXXXXX)
chmod 755 "$work"
xvfb= xephyr= daemon=
finish() {
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null
  [ -n "$xephyr" ] && kill "$xephyr" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAILED: $*" >&2; echo "--- daemon log" >&2; tail -20 "$work/daemon.log" >&2; exit 1; }

# Everything the unprivileged daemon reads: its settings, the scene and the player.
mkdir "$work/home"
scene="$work/home/scène d'essai.scr"
cp "$scenes/same-pixels.scr" "$scene"
cp "$play" "$work/morvane-play"
cat > "$work/home/.xscreensaver" <<SETTINGS
mode: one
selected: 0
timeout: 0:30:00
cycle: 0:00:00
lock: False
fade: False
unfade: False
splash: False
dpmsEnabled: False
programs:								      \\

SETTINGS
chown -R nobody:nogroup "$work/home"
env -i PATH=/usr/bin:/bin HOME="$work/home" setpriv --reuid=nobody --regid=nogroup --clear-groups \
  "$work/morvane-play" --add-to-xscreensaver "$scene" || fail "--add-to-xscreensaver"
grep -q -F -- "--scene" "$work/home/.xscreensaver" || fail "no program line in the settings"

width=$((320 * heads))
Xvfb -displayfd 3 -screen 0 ${width}x240x24 -ac -br -noreset -nolisten tcp 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
if [ "$heads" = 2 ]; then
  : > "$work/display"
  Xephyr -displayfd 3 +xinerama -screen 320x240 -screen 320x240 -ac -br -noreset -nolisten tcp \
    3>"$work/display" </dev/null >"$work/xephyr.log" 2>&1 &
  xephyr=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xephyr did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
fi
as_nobody() { env -i PATH=/usr/bin:/bin HOME="$work/home" DISPLAY="$DISPLAY" setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }

(cd / && exec env -i PATH=/usr/bin:/bin HOME="$work/home" DISPLAY="$DISPLAY" \
   setpriv --reuid=nobody --regid=nogroup --clear-groups xscreensaver -no-splash -verbose) >"$work/daemon.log" 2>&1 &
daemon=$!
for _ in $(seq 50); do as_nobody xscreensaver-command -version >/dev/null 2>&1 && break; sleep 0.2; done
as_nobody xscreensaver-command -activate >/dev/null 2>&1 || fail "xscreensaver-command -activate"

hacks=
for _ in $(seq 100); do
  hacks=$(pgrep -u nobody -f "$work/morvane-play")
  [ "$(echo "$hacks" | grep -c .)" -ge "$heads" ] && break
  sleep 0.1
done
[ "$(echo "$hacks" | grep -c .)" = "$heads" ] || fail "the daemon started $(echo "$hacks" | grep -c .) morvane-play for $heads monitors"
sleep 2
# The scene's background colour (red 0x10, green 0x30, blue 0x50) must cover most of each monitor.
covered=$(import -window root -depth 8 rgb:- | od -An -v -tx1 -w3 |
  awk -v width="$width" '/ 10 30 50$/ { n[int(((NR - 1) % width) / 320)]++ } END { for (h = 0; h < width / 320; h++) printf "%d ", n[h] }')
echo "pixels of the scene's background per monitor: $covered(of 76800 each)"
for count in $covered; do
  [ "$count" -gt 38400 ] || fail "the scene is not on every monitor ($covered)"
done

as_nobody xscreensaver-command -deactivate >/dev/null 2>&1 || fail "xscreensaver-command -deactivate"
for hack in $hacks; do
  for _ in $(seq 50); do kill -0 "$hack" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$hack" 2>/dev/null && fail "morvane-play still runs after the daemon deactivated"
  # The shared memory of its picture goes with it.
  awk -v pid="$hack" 'NR > 1 && $5 == pid { found = 1 } END { exit found }' /proc/sysvipc/shm ||
    fail "morvane-play left shared memory behind"
done
echo "morvane-play ran under the daemon on $heads monitor(s) and ended when it deactivated"
