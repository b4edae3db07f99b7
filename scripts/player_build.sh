#!/usr/bin/env bash
# The build a player gets: gcc, Release, the game and the tools, the sources compiled in the fixed
# groups of cmake/unity_groups.txt, up to eight to a unit (no tests, no benchmarks).
# scripts/run.sh makes it and starts the game; scripts/test.sh makes the same build and starts its
# game once (scripts/check_player_start.sh), so this one definition is what CI checks.
# cmake/CheckPlayerBuild.cmake reads the build type from here.
#
#     scripts/player_build.sh [BUILD]   (default: build/ at the top of the tree)
#
# The compiler is chosen when the folder is first configured; ccache, when there is one, keeps
# rebuilds short. CMAKE_BUILD_PARALLEL_LEVEL sets the build's jobs, as for any cmake --build.
set -euo pipefail
. "$(dirname "$0")/help.sh"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CC=gcc CXX=g++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DORVEX_TESTS=OFF -DORVEX_BENCH=OFF "${launcher[@]}"
cmake --build "$build"
