#!/usr/bin/env bash
# The game's start-up as a player sees it, against an empty window: each run starts the game as
# a player first starts it (fresh user folder, no config.cfg: full screen at the display's size)
# and, alternated with it, an empty SDL2 + OpenGL 3.3 window presenting cleared frames; both on
# one X screen, each a fresh process. startup_watch gives for each run the time from spawn to the
# last pixel change before the screen stood still for a second, the resident memory then, and
# the CPU (in cores, all threads) while it stands still. Prints the medians and the targets.
#
#     bench/startup.sh [BUILD_FOLDER [RUNS [WIDTH HEIGHT]]]
#
# BUILD_FOLDER holds game/app/solitaire, bench/startup_watch and bench/startup_window (default
# build-rel: a Release build with -DORVEX_BENCH=ON, as scripts/run.sh builds the game). Without
# DISPLAY the script runs itself on a virtual X screen of WIDTH x HEIGHT (default 1920 x 1080).
set -euo pipefail
. "$(dirname "$0")/../scripts/help.sh"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build-rel}" && pwd)"
runs="${2:-10}"
width="${3:-1920}"
height="${4:-1080}"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 ${width}x${height}x24" "$0" "$build" "$runs" "$width" "$height"
fi
game="$build/game/app/solitaire"
watch="$build/bench/startup_watch"
window="$build/bench/startup_window"
for program in "$game" "$watch" "$window"; do
  [ -x "$program" ] || { echo "missing $program (configure with -DORVEX_BENCH=ON and build)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
unset SDL_VIDEODRIVER

# One run in a fresh user folder: "seconds kB cores".
measure() {
  rm -rf "$work/home" "$work/run"
  mkdir -p "$work/home" "$work/run"
  (cd "$work/run" && HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" "$watch" --settle 1 --idle 3 -- "$@") |
    awk '/^settled / { print $2, $4, $6 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$work/game.txt" && : > "$work/window.txt"
for ((i = 0; i < runs; ++i)); do
  measure "$window" >> "$work/window.txt"
  measure "$game" -SEARCHPATH "$root" -SEARCHPATH "$root/data" >> "$work/game.txt"
done
[ -s "$work/game.txt" ] && [ -s "$work/window.txt" ] || { echo "no run settled" >&2; exit 1; }

column() { cut -d' ' -f"$1" "$2" | median; }
awk -v gs="$(column 1 "$work/game.txt")" -v gk="$(column 2 "$work/game.txt")" -v gc="$(column 3 "$work/game.txt")" \
    -v ws="$(column 1 "$work/window.txt")" -v wk="$(column 2 "$work/window.txt")" -v wc="$(column 3 "$work/window.txt")" \
    -v n="$(wc -l < "$work/game.txt")" -v w="$width" -v h="$height" 'BEGIN {
  printf "start-up as a player starts the game at %dx%d, median of %d alternated runs\n", w, h, n
  printf "%-44s %10s %12s %8s\n", "what", "game", "empty window", "target"
  printf "%-44s %8.2f s %10.2f s %8s  %s\n", "spawn to settled (no pixel change for 1 s)", gs, ws, "+0.30 s", (gs - ws <= 0.30) ? "met" : "MISSED"
  printf "%-44s %7.0f MB %9.0f MB %8s  %s\n", "resident memory then", gk / 1024, wk / 1024, "+60 MB", ((gk - wk) / 1024 <= 60) ? "met" : "MISSED"
  printf "%-44s %6.2f cores %6.2f cores %8s  %s\n", "CPU while the start screen stands still", gc, wc, "< 1 core", (gc < 1) ? "met" : "MISSED"
}'
