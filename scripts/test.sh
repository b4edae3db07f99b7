#!/usr/bin/env bash
# Installs what is missing, builds everything once and runs every test, headless. CI runs this
# (.ci/run).
#
# The one build (build-test) is clang with optimisation (-O1), AddressSanitizer and
# UndefinedBehaviorSanitizer, and the libFuzzer instrumentation: the tests run optimised and
# under the sanitizers, and the fuzz targets link the same objects. Then:
#  - ctest runs every test program whole, its tests split by gtest's sharding into a few
#    processes side by side (each runs its share one after the other, so state one test leaves
#    for the next shows), the fuzz corpora's replays and the checks of the tree (ctest -LE '^each_';
#    the tests labelled "each_<program>", one test a process, are there for running a test by hand);
#  - a shard that failed has its failed tests run again each alone, which tells a test that fails
#    anyway from one that fails only after another;
#  - each fuzz target runs a few seconds on its corpus (scripts/test_fuzz.sh);
#  - scripts/check_tests_ran.py fails the run when a test program, a test or a fuzz target did not
#    run.
# Arguments go to the ctest run. The time of each step and the ten slowest shards are printed; a
# failed step does not stop the others, and the script fails at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
launcher=()
# The test programs' precompiled headers are cached only when ccache may overlook their time stamps.
command -v ccache >/dev/null 2>&1 && launcher=(
  "-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_SLOPPINESS=pch_defines,time_macros;ccache"
  -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Everything renders offscreen; a virtual X display lets the one test that opens a real window run.
display=()
command -v xvfb-run >/dev/null 2>&1 && [ -z "${DISPLAY:-}" ] && display=(xvfb-run -a)

build="$root/build-test"
step=$SECONDS
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Check \
  -DORVEX_SANITIZE=ON -DORVEX_FUZZ=ON -DORVEX_BENCH=ON "${launcher[@]}"
cmake --build "$build"
echo "build: $((SECONDS - step)) s"

status=0
step=$SECONDS
rm -rf "$build/tests/whole" "$build/ctest-results.xml"
log="$build/ctest-output.log"
(cd "$build" && "${display[@]}" ctest --output-on-failure -j "$(nproc)" -LE '^each_' \
   --output-junit "$build/ctest-results.xml" "$@") 2>&1 | tee "$log" || status=1
echo "ctest: $((SECONDS - step)) s"
echo "The ten slowest tests:"
sed -n -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 \1/p' "$log" | sort -rn | awk 'NR <= 10'

# Each test that failed in a shard, alone in a process of its own.
if [ "$status" != 0 ]; then
  python3 - "$build" <<'EOF' || true
import json, pathlib, subprocess, sys
tests = pathlib.Path(sys.argv[1]) / 'tests'
for results in sorted((tests / 'whole').glob('*.json')):
    program = results.name.split('.')[0]
    data = json.loads(results.read_text())
    for suite in data.get('testsuites', []):
        for test in suite.get('testsuite', []):
            if test.get('failures'):
                name = suite['name'] + '.' + test['name']
                alone = subprocess.run([str(tests / program), '--gtest_brief=1', '--gtest_filter=' + name],
                                       cwd=tests, capture_output=True, text=True)
                print(f'{program} {name}: failed in its shard; alone it',
                      'fails too' if alone.returncode else 'passes (it fails only after another test)')
EOF
fi

step=$SECONDS
bash "$root/scripts/test_fuzz.sh" "$build" || status=1
echo "fuzz runs: $((SECONDS - step)) s"

python3 "$root/scripts/check_tests_ran.py" "$build" "$build/ctest-results.xml" || status=1
exit "$status"
