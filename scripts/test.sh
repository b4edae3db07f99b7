#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole test suite headless; then builds the game's tests in the Release build players
# get and runs them again there, since timing and optimisation can hide a fault from one build.
# Arguments go to both ctest runs. The ten slowest tests of each run are printed at its end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# Everything renders offscreen; a virtual X display lets the one test that opens a real window run.
run_ctest() {
  local dir="$1" log
  shift
  log="$dir/ctest-output.log"
  local status=0
  if command -v xvfb-run >/dev/null 2>&1 && [ -z "${DISPLAY:-}" ]; then
    (cd "$dir" && xvfb-run -a ctest --output-on-failure -j "$(nproc)" "$@") 2>&1 | tee "$log" || status=$?
  else
    (cd "$dir" && ctest --output-on-failure -j "$(nproc)" "$@") 2>&1 | tee "$log" || status=$?
  fi
  echo "The ten slowest tests ($dir):"
  sed -n -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 \1/p' "$log" | sort -rn | awk 'NR <= 10'
  return "$status"
}

build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEX_SANITIZE=ON -DORVEX_BENCH=ON "${launcher[@]}"
cmake --build "$build"
run_ctest "$build" "$@"

# The game's test programs in the player's build type (scripts/run.sh).
release="$root/build-release-test"
cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVEX_BENCH=OFF "${launcher[@]}"
game_tests=(test_game_look test_game_particles test_game_cards test_game_app test_game_story test_game_minigames)
cmake --build "$release" --target "${game_tests[@]}" game_driver
run_ctest "$release" -L "^($(IFS='|'; echo "${game_tests[*]}"))\$" "$@"
