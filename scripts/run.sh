#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it on the bundled data. The game runs in
# build/run (its log and screenshots stay out of the sources) and finds its files through two
# search paths: the top of the tree ("data\...") and data/ ("tastaturlayout.lay"). Arguments
# are passed to the game ("-ENABLE_INGAME_CONSOLE 1" and the other engine switches).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_TESTS=OFF -DORVEX_BENCH=OFF
cmake --build "$root/build"
mkdir -p "$root/build/run"
cd "$root/build/run"
exec "$root/build/game/app/solitaire" -SEARCHPATH "$root" -SEARCHPATH "$root/data" "$@"
