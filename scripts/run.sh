#!/usr/bin/env bash
# Installs what is missing, builds the game (the release build the README measures) and starts
# it on the bundled data.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVEX_TESTS=OFF -DORVEX_BENCH=OFF
cmake --build "$root/build"
if [ -x "$root/build/game/app/solitaire" ]; then
  cd "$root/data" && exec "$root/build/game/app/solitaire" "$@"
else
  echo "Built the engine libraries and tools in build/. The game itself cannot be started yet:"
  echo "its entry point is not part of this version."
fi
