#!/usr/bin/env bash
# Installs what is missing, builds the game (the player's build of scripts/player_build.sh, the
# release build the README measures) and starts it on the bundled data. The game runs in build/run
# (its log and screenshots stay out of the sources) and finds its files through two search paths:
# the top of the tree ("data\...") and data/ ("tastaturlayout.lay"). Arguments are passed to the
# game ("-ENABLE_INGAME_CONSOLE 1" and the other engine switches).
#
#     scripts/run.sh [GAME ARGUMENTS...]
#
# ORVEX_BUILD names another build folder than build/ (scripts/check_player_start.sh starts the
# build it is given so).
set -euo pipefail
. "$(dirname "$0")/help.sh"
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
build="${ORVEX_BUILD:-$root/build}"
"$root/scripts/player_build.sh" "$build"
mkdir -p "$build/run"
cd "$build/run"
exec "$build/game/app/solitaire" -SEARCHPATH "$root" -SEARCHPATH "$root/data" "$@"
