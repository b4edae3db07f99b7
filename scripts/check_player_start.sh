#!/usr/bin/env bash
# Starts the player's game as a player does, headless, and fails unless it reaches its start menu
# and ends cleanly when told to quit. scripts/test.sh runs it once the player's build is made.
#
#     scripts/check_player_start.sh [BUILD]   (default: build/ at the top of the tree)
#
# The game is started by ./scripts/run.sh itself (the README's first command: the set-up check,
# the player's build in BUILD, which is then up to date, and the game in BUILD/run), with a fresh
# user folder (no settings, no profiles: a first start) and SDL's offscreen video and dummy audio
# unless the caller chose others. The check fails when:
#  - the game ends, or its log (BUILD/run/logs/logfile.log) does not say 'Start-up over, menu
#    "STARTMENU" active' within START_LIMIT seconds (a start that fails or hangs); START_LIMIT
#    counts the set-up check and the build's up-to-date check before it;
#  - it ends on its own in the QUIET seconds of its start menu after that line;
#  - told to quit (SIGTERM, which SDL turns into a quit event, as a window's close button does) it
#    does not end within QUIT_LIMIT seconds (then it is killed), or ends with another code than 0:
#    a crash ends with its signal's, a quit that came before the main loop ran with -1;
#  - it did not write its settings (config.cfg) at the end;
#  - its log holds an ERROR line, at the line's start or indented: the shipped data loads without
#    one, and a picture or sound that cannot be read, a device or shader that fails, each logs one
#    (music plays only in story scenes, so none is let pass for it);
#  - its standard error holds an ERROR line, at the line's start, indented or after a colour code
#    or a sanitizer's "==PID==": what the game says there before its log is open, in place of a
#    log it cannot write, and what the port layer and a sanitizer say (read from the standard
#    error of ./scripts/run.sh, whose set-up and build write no such line);
#  - its log says a property file of data/ was not found (a warning, since the game goes on with
#    defaults: a missing catalogue leaves free play empty), but for the publisher's splash
#    (data\textures\publisher.tex), shown only where a publisher ships one.
# On a failure the game's log and output are printed. Its files are read as text (grep -a): a NUL
# byte in one makes grep take it for binary and print no line, so an ERROR line beside it passed.
set -euo pipefail
. "$(dirname "$0")/help.sh"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"
START_LIMIT=180
QUIET=2
QUIT_LIMIT=30

user="$(mktemp -d)"
out="$user/output.txt"
err="$user/errors.txt"
game=
# A check stopped half way leaves no game running.
trap '[ -z "$game" ] || kill -KILL "$game" 2>/dev/null; rm -rf "$user"' EXIT
log="$build/run/logs/logfile.log"
rm -f "$log"
export HOME="$user" XDG_DATA_HOME="$user/.local/share"
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

start=$SECONDS
# run.sh ends in exec: the process started here becomes the game.
ORVEX_BUILD="$build" "$root/scripts/run.sh" </dev/null >"$out" 2>"$err" &
game=$!

fail() {
  echo "player start: FAILED: $1"
  echo "--- the game's log ($log):"
  cat "$log" 2>/dev/null || true
  echo "--- its output (the last 40 lines):"
  tail -n 40 "$out"
  echo "--- its standard error (the last 40 lines):"
  tail -n 40 "$err"
  exit 1
}
# Bash collects an ended child at once, so an ended game no longer answers.
alive() { kill -0 "$game" 2>/dev/null; }
# The exit code of the ended game, into $code (not in a subshell: only this shell may wait for it).
collect() {
  code=0
  wait "$game" || code=$?
  game=
}

while ! grep -aq '^Start-up over, menu "STARTMENU" active$' "$log" 2>/dev/null; do
  alive || { collect; fail "the game ended (exit $code) before reaching its start menu"; }
  [ $((SECONDS - start)) -lt "$START_LIMIT" ] || fail "no start menu within $START_LIMIT s"
  sleep 0.2
done
loaded=$((SECONDS - start))
sleep "$QUIET"
alive || { collect; fail "the game ended (exit $code) on its start menu without being told to"; }

kill -TERM "$game"
asked=$SECONDS
while alive; do
  [ $((SECONDS - asked)) -lt "$QUIT_LIMIT" ] || fail "the game did not end within $QUIT_LIMIT s of being told to quit"
  sleep 0.2
done
collect
[ "$code" = 0 ] || fail "the game ended with exit code $code when told to quit"
[ -f "$XDG_DATA_HOME/Orvex/Velquorandix/config.cfg" ] || fail "the game wrote no config.cfg at its end"
errors="$(grep -a '^[[:space:]]*ERROR' "$log" || true)"
[ -z "$errors" ] || fail "its log holds ERROR lines:
$errors"
errors="$(sed 's/\x1b\[[0-9;]*m//g' "$err" | grep -aE '^[[:space:]]*(==[0-9]+==)?ERROR' || true)"
[ -z "$errors" ] || fail "its standard error holds ERROR lines:
$errors"
missing="$(grep -a '^Property file "data\\.*" not found$' "$log" | grep -av -F 'data\textures\publisher.tex' || true)"
[ -z "$missing" ] || fail "files of data/ were not found:
$missing"
echo "player start: the start menu after ${loaded} s (set-up and build checks included), ended cleanly"
