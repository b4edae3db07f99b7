#!/usr/bin/env bash
# Installs what is missing, builds the game (the player's build of scripts/player_build.sh, the
# release build the README measures) and starts it on the bundled data. The game runs in build/run (its log and screenshots stay out of the
# sources) and finds its files through two search paths: the top of the tree ("data\...") and
# data/ ("tastaturlayout.lay"). Arguments are passed to the game ("-ENABLE_INGAME_CONSOLE 1" and
# the other engine switches).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/player_build.sh" "$root/build"
mkdir -p "$root/build/run"
cd "$root/build/run"
exec "$root/build/game/app/solitaire" -SEARCHPATH "$root" -SEARCHPATH "$root/data" "$@"
