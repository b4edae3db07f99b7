#!/usr/bin/env bash
# The game's start-up against an empty window: process start to the first presented frame of
# the start menu ("STARTMENU"), less the time the splash pictures are shown (display times the
# start-up fixes), and the resident memory then; beside it an empty SDL2 + OpenGL 3.3 window of
# the same size presenting its first cleared frame. Runs are alternated, the medians printed.
#
#     bench/startup.sh [BUILD_FOLDER [RUNS [WIDTH HEIGHT]]]
#
# BUILD_FOLDER holds bench/startup_game and bench/startup_window (default build-rel: a Release
# build with -DORVEX_BENCH=ON). The game runs windowed at the size with a fresh user folder, in a
# folder of its own, with the tree and data/ as search paths, as scripts/run.sh starts it.
# SDL_VIDEODRIVER is passed on (unset: the desktop's; offscreen without one).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build-rel}" && pwd)"
runs="${2:-20}"
width="${3:-1280}"
height="${4:-720}"
game="$build/bench/startup_game"
window="$build/bench/startup_window"
for program in "$game" "$window"; do
  [ -x "$program" ] || { echo "missing $program (configure with -DORVEX_BENCH=ON and build)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
mkdir -p "$XDG_DATA_HOME/Orvex/Velquorandix" "$work/run"
cat > "$XDG_DATA_HOME/Orvex/Velquorandix/config.cfg" <<CONFIG
<MyEngineParams><ENGINE_PARAMS><D3DINITPARAMS WIDTH="$width" HEIGHT="$height" REFRESH="60" WINDOWED="1"/></ENGINE_PARAMS><API_PARAMS/></MyEngineParams>
CONFIG

# One run: "seconds kB" (start to first frame less the splash, resident memory).
measure() {
  local start line
  start="$(date +%s.%N)"
  line="$(cd "$work/run" && "$@" | grep '^first_frame ' || true)"
  [ -n "$line" ] || { echo "no first frame from $1" >&2; exit 1; }
  awk -v start="$start" -v line="$line" 'BEGIN { split(line, f, " "); printf "%.4f %d\n", f[2] - start - f[4], f[6] }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$work/game" && : > "$work/window"
for ((i = 0; i < runs; ++i)); do
  measure "$window" "$width" "$height" >> "$work/window"
  measure "$game" -SEARCHPATH "$root" -SEARCHPATH "$root/data" >> "$work/game"
done

gameSeconds="$(cut -d' ' -f1 "$work/game" | median)"
gameKb="$(cut -d' ' -f2 "$work/game" | median)"
windowSeconds="$(cut -d' ' -f1 "$work/window" | median)"
windowKb="$(cut -d' ' -f2 "$work/window" | median)"
awk -v gs="$gameSeconds" -v gk="$gameKb" -v ws="$windowSeconds" -v wk="$windowKb" -v n="$runs" \
    -v w="$width" -v h="$height" 'BEGIN {
  printf "start-up to the first frame at %dx%d, median of %d alternated runs\n", w, h, n
  printf "  game (STARTMENU, splash left out): %.3f s, %.1f MB\n", gs, gk / 1024
  printf "  empty SDL2 + GL 3.3 window:        %.3f s, %.1f MB\n", ws, wk / 1024
  printf "  game above the window:             %.3f s, %.1f MB\n", gs - ws, (gk - wk) / 1024
}'
