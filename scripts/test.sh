#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, headless. CI runs this
# (.ci/run).
#
# The test build (build-test) is clang with optimisation (-O1), AddressSanitizer and
# UndefinedBehaviorSanitizer, and the libFuzzer instrumentation: the tests run optimised and
# under the sanitizers, and the fuzz targets link the same objects. Then:
#  - ctest runs every test program whole, its tests split by gtest's sharding into a few
#    processes side by side (each runs its share one after the other, so state one test leaves
#    for the next shows), the fuzz corpora's replays and the checks of the tree (ctest -LE '^each_';
#    the tests labelled "each_<program>", one test a process, are there for running a test by hand);
#  - before ctest, scripts/check_compiles_alone.py compiles each source of the build's units
#    alone (-fsyntax-only), which proves that it includes what it uses;
#  - the tests of a shard that failed are run again each alone (scripts/run_failed_alone.py): its
#    failed tests, which tells a test that fails anyway from one that fails only after another, or
#    all of them when the shard crashed;
#  - each fuzz target runs a second on its corpus (scripts/test_fuzz.sh);
#  - the player's build (scripts/player_build.sh, in build/, the one scripts/run.sh makes) is made
#    beside all this at the lowest priority, on the cores the rest leaves idle, and its game is
#    started to its start menu and ended (scripts/check_player_start.sh);
#  - scripts/check_tests_ran.py fails the run when a test program, a test or a fuzz target did not
#    run, or a test skipped that may not.
#
#     scripts/test.sh [-R REGEX] [-E REGEX] [-L LABEL] ...
#
# The arguments are ctest's selection of a part of the suite, each option with its value: -R REGEX
# (the names of ctest's tests that match), -E REGEX (less those that match), -L LABEL (the tests of
# a label). Then only the test build, ctest, the reruns alone and the check of what ctest selected
# run; a selection that selects nothing fails. Any other argument is refused with a line before
# anything is installed or built (ctest would pass over an option it does not know, and the run
# would leave out the player's build and the fuzz runs and pass).
# The GoogleTest variables that choose tests (GTEST_FILTER, GTEST_ALSO_RUN_DISABLED_TESTS, a
# GTEST_FLAGFILE ...) are cleared for the run: a filter left in the shell would have every program
# run none of its tests. Each shard's GTEST_TOTAL_SHARDS and GTEST_SHARD_INDEX are its ctest test's.
# The time of each step and the ten slowest shards are printed; a failed step does not stop the
# others (a failed test build leaves out only what needs it: ctest, the reruns, the fuzz runs and
# the check of what ran), and the script fails at the end. Stopped half way, it stops the player's
# build with it.
set -euo pipefail
. "$(dirname "$0")/help.sh"
root="$(cd "$(dirname "$0")/.." && pwd)"
# Only a selection is taken, checked before anything is installed or built.
selection=("$@")
while [ $# -gt 0 ]; do
  case "$1" in
    -R | -E | -L)
      [ $# -ge 2 ] || { echo "test.sh: $1 needs a value (see scripts/test.sh --help)" >&2; exit 2; }
      shift 2 ;;
    *)
      echo "test.sh: \"$1\" is not an argument it takes: a selection is -R REGEX, -E REGEX or -L LABEL" \
        "(see scripts/test.sh --help)" >&2
      exit 2 ;;
  esac
done
set -- "${selection[@]}"
"$root/scripts/setup.sh"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
# The compilers' heaps on transparent huge pages (where the system gives them on request): half
# the page faults, a quarter less CPU a compile.
export GLIBC_TUNABLES="${GLIBC_TUNABLES:+$GLIBC_TUNABLES:}glibc.malloc.hugetlb=1"
# No GoogleTest variable of the caller's chooses what runs (see above).
for name in $(compgen -e); do
  case "$name" in GTEST_* | TESTBRIDGE_*) unset "$name" ;; esac
done
launcher=()
# The test programs' precompiled headers are cached only when ccache may overlook their time stamps.
command -v ccache >/dev/null 2>&1 && launcher=(
  "-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_SLOPPINESS=pch_defines,time_macros;ccache"
  -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Everything renders offscreen; a virtual X display lets the one test that opens a real window run.
display=()
command -v xvfb-run >/dev/null 2>&1 && [ -z "${DISPLAY:-}" ] && display=(xvfb-run -a)

build="$root/build-test"
status=0
whole=1
[ $# -eq 0 ] || whole=0
player=
# A run stopped half way (or ended by an error of its own) stops the player's build, a session of
# its own, with everything it started.
trap '[ -z "$player" ] || kill -TERM -- "-$player" 2>/dev/null || true' EXIT
trap 'exit 1' INT TERM
if [ "$whole" = 1 ]; then
  mkdir -p "$build"
  setsid nice -n 19 "$root/scripts/player_build.sh" "$root/build" >"$build/player-build.log" 2>&1 &
  player=$!
fi

step=$SECONDS
built=1
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Check \
  -DORVEX_SANITIZE=ON -DORVEX_FUZZ=ON -DORVEX_BENCH=ON "${launcher[@]}" && cmake --build "$build" || built=0
if [ "$built" = 1 ]; then
  echo "build: $((SECONDS - step)) s"
else
  echo "build: FAILED after $((SECONDS - step)) s; ctest, the reruns, the fuzz runs and the check of what ran" \
    "are left out"
  status=1
fi

# Every source the build compiled beside others in a unit compiles alone too.
if [ "$built" = 1 ] && [ "$whole" = 1 ]; then
  step=$SECONDS
  python3 "$root/scripts/check_compiles_alone.py" "$build" || status=1
  echo "compile alone: $((SECONDS - step)) s"
fi

if [ "$built" = 1 ]; then
  step=$SECONDS
  rm -rf "$build/tests/whole" "$build/ctest-results.xml"
  log="$build/ctest-output.log"
  (cd "$build" && "${display[@]}" ctest --output-on-failure -j "$(nproc)" -LE '^each_' \
     --output-junit "$build/ctest-results.xml" "$@") 2>&1 | tee "$log" || status=1
  echo "ctest: $((SECONDS - step)) s"
  echo "The ten slowest tests:"
  sed -n -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 \1/p' "$log" | sort -rn | awk 'NR <= 10'

  # The tests of each failed shard, each alone in a process of its own.
  [ "$status" = 0 ] || python3 "$root/scripts/run_failed_alone.py" "$build" "$build/ctest-results.xml" || true
fi

if [ "$whole" = 1 ]; then
  if [ "$built" = 1 ]; then
    step=$SECONDS
    bash "$root/scripts/test_fuzz.sh" "$build" || status=1
    echo "fuzz runs: $((SECONDS - step)) s"
  fi

  step=$SECONDS
  if wait "$player"; then
    player=
    echo "player build: done $((SECONDS - step)) s after the steps before"
    bash "$root/scripts/check_player_start.sh" "$root/build" || status=1
  else
    player=
    echo "player build: FAILED (scripts/player_build.sh build); the end of its log:"
    tail -n 40 "$build/player-build.log"
    status=1
  fi
fi

if [ "$built" = 1 ]; then
  python3 "$root/scripts/check_tests_ran.py" "$build" "$build/ctest-results.xml" "$@" || status=1
fi
exit "$status"
