#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole test suite headless, each test in a process of its own (ctest). Every test
# program also runs whole, all its tests in one process (scripts/test_whole.sh), so that state one
# test leaves for the next shows: the game's programs in the Release build players get (timing
# and optimisation can hide a fault from one build), while ctest runs; the others in the sanitizer
# build after it. The libFuzzer targets are built with clang and each runs a few seconds on its
# corpus (scripts/test_fuzz.sh). Arguments go to the ctest run. The ten slowest tests of the
# ctest run and the time of each whole program are printed; a failed part does not stop the
# others, and the script fails at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Everything renders offscreen; a virtual X display lets the one test that opens a real window run.
display=()
command -v xvfb-run >/dev/null 2>&1 && [ -z "${DISPLAY:-}" ] && display=(xvfb-run -a)

run_ctest() {
  local dir="$1" log
  shift
  log="$dir/ctest-output.log"
  local status=0
  (cd "$dir" && "${display[@]}" ctest --output-on-failure -j "$(nproc)" "$@") 2>&1 | tee "$log" || status=$?
  echo "The ten slowest tests ($dir):"
  sed -n -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 \1/p' "$log" | sort -rn | awk 'NR <= 10'
  return "$status"
}

# What the whole runs of a build's programs gave; a program that failed whole has its tests run
# one by one (ctest, its label), which tells a test that fails anyway from one that fails only
# after another.
report_whole() {
  local dir="$1" program code seconds status=0
  shift
  for program in "$@"; do
    code=1 seconds="?"
    [ -f "$dir/tests/whole-$program.status" ] && read -r code seconds < "$dir/tests/whole-$program.status"
    echo "$program whole in one process: exit $code, $seconds s"
    [ "$code" = 0 ] && continue
    status=1
    grep -E '^\[  FAILED  \]|Failure$|ERROR: AddressSanitizer|runtime error' "$dir/tests/whole-$program.log" | head -n 40 || true
    tail -n 5 "$dir/tests/whole-$program.log" || true
    echo "$program, each test alone:"
    run_ctest "$dir" -L "^$program\$" || true
  done
  return "$status"
}

build="$root/build-test"
release="$root/build-release-test"
game_tests=(test_game_look test_game_particles test_game_cards test_game_app test_game_story test_game_minigames)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEX_SANITIZE=ON -DORVEX_BENCH=ON "${launcher[@]}"
cmake --build "$build"
cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVEX_BENCH=OFF "${launcher[@]}"
cmake --build "$release" --target "${game_tests[@]}" game_driver

# The game's programs whole (offscreen, no display needed) beside ctest, ended with the script: the
# longest of them takes about as long as the ctest run, and they need a share of its cores only.
bash "$root/scripts/test_whole.sh" "$release" "${game_tests[@]}" &
game_whole=$!
trap 'kill "$game_whole" 2>/dev/null || true' EXIT
status=0
run_ctest "$build" "$@" || status=1
bash "$root/scripts/test_fuzz.sh" || status=1

other_tests=()
for program in "$build"/tests/test_*; do
  name="$(basename "$program")"
  [ -x "$program" ] && [[ "$name" != *.* ]] && [[ " ${game_tests[*]} " != *" $name "* ]] && other_tests+=("$name")
done
"${display[@]}" bash "$root/scripts/test_whole.sh" "$build" "${other_tests[@]}"
report_whole "$build" "${other_tests[@]}" || status=1
wait "$game_whole" || true
trap - EXIT
report_whole "$release" "${game_tests[@]}" || status=1
exit "$status"
