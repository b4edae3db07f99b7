#!/usr/bin/env bash
# Runs each libFuzzer target a second on its corpus (tests/fuzz/corpus/<name>/, read only: new
# inputs go to a temporary folder, crashing ones to BUILD/findings/), several at a time, so
# neither the fuzz build nor a target can break unseen. Prints the time of the build and of the
# runs, and the log of each target that failed; fails when the build or any run does.
#
#     scripts/test_fuzz.sh [BUILD]
#
# BUILD: a build folder configured with ORVEX_FUZZ (scripts/test.sh passes its own, whose fuzz
# targets link the tests' objects). Without it, the fuzz build of the README in build-fuzz:
# configured as the README gives it when the folder is new (with ccache when there is one), else
# as it stands, so the README's command and this script make and keep one build.
# ORVEX_FUZZ_SECONDS sets the seconds per target (default 1); a target's corpus is always run
# whole first.
set -euo pipefail
. "$(dirname "$0")/help.sh"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-fuzz}"
seconds="${ORVEX_FUZZ_SECONDS:-1}"
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

start=$SECONDS
if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DORVEX_FUZZ=ON -DORVEX_TESTS=OFF -DORVEX_BENCH=OFF \
    "${launcher[@]}" >/dev/null
fi
if ! grep -q '^ORVEX_FUZZ:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "fuzz build: $build is not configured with ORVEX_FUZZ=ON"
  exit 1
fi
if ! cmake --build "$build"; then
  echo "fuzz build: FAILED after $((SECONDS - start)) s"
  exit 1
fi
echo "fuzz build: $((SECONDS - start)) s"

runs="$(mktemp -d)"
trap 'rm -rf "$runs"' EXIT
findings="$build/findings"
mkdir -p "$findings"
# One target: its own temporary corpus first (written), then its corpus in the tree (read).
run_target() {
  local program="$1" name corpus=()
  name="$(basename "$program")"
  name="${name#fuzz_}"
  mkdir -p "$runs/$name"
  [ -d "$root/tests/fuzz/corpus/$name" ] && corpus=("$root/tests/fuzz/corpus/$name")
  local code=0
  # The timeout catches hangs only: targets that build the game take seconds an input.
  (cd "$runs" && "$program" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=300 \
    -artifact_prefix="$findings/$name-" "$runs/$name" "${corpus[@]}") >"$runs/$name.log" 2>&1 || code=$?
  echo "$code" >"$runs/$name.status"
}
export -f run_target
export root runs seconds findings

start=$SECONDS
programs=()
for program in "$build"/tests/fuzz/fuzz_*; do
  # The corpus replays of a build with the tests are ctest's.
  [[ "$(basename "$program")" == fuzz_replay_* ]] && continue
  [ -x "$program" ] && [ -f "$program" ] && programs+=("$program")
done
jobs=$(nproc)
printf '%s\n' "${programs[@]}" | xargs -P "$jobs" -I{} bash -c 'run_target "$1"' _ {}
status=0
for program in "${programs[@]}"; do
  name="$(basename "$program")"
  name="${name#fuzz_}"
  code=1
  [ -f "$runs/$name.status" ] && read -r code <"$runs/$name.status"
  [ "$code" = 0 ] && continue
  status=1
  echo "fuzz_$name failed (exit $code):"
  tail -n 30 "$runs/$name.log" || true
done
echo "fuzz runs: ${#programs[@]} targets, ${seconds} s each, $((SECONDS - start)) s"
[ "${#programs[@]}" -gt 0 ] || status=1
exit "$status"
