#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole test suite headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEX_SANITIZE=ON -DORVEX_BENCH=ON
cmake --build "$build"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
cd "$build"
# Everything renders offscreen; a virtual X display lets the one test that opens a real window run.
if command -v xvfb-run >/dev/null 2>&1 && [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a ctest --output-on-failure -j "$(nproc)" "$@"
fi
exec ctest --output-on-failure -j "$(nproc)" "$@"
