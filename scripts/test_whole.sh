#!/usr/bin/env bash
# Runs test programs of a build folder each whole, all its tests in one process (as a person
# running one by hand does; ctest gives every test a process of its own), side by side, so that
# state one test leaves for the next shows. Called by scripts/test.sh.
#
#     scripts/test_whole.sh BUILD_FOLDER PROGRAM...
#
# Each program's output goes to BUILD_FOLDER/tests/whole-PROGRAM.log, its exit code and seconds
# to whole-PROGRAM.status; a program still running after WHOLE_LIMIT seconds (default 2400) is
# ended, and so is every one when this script is told to stop. Exits 0 once all have ended.
set -uo pipefail
dir="$1"
shift
limit="${WHOLE_LIMIT:-2400}"
cd "$dir/tests" || exit 1
# SDL would turn a stop signal into a quit event no test waits for.
export SDL_NO_SIGNAL_HANDLERS=1
declare -A program_of
for program in "$@"; do
  rm -f "whole-$program.status"
  timeout -k 30 "$limit" "./$program" --gtest_brief=1 > "whole-$program.log" 2>&1 &
  program_of[$!]="$program"
done
trap 'kill "${!program_of[@]}" 2>/dev/null; exit 143' TERM INT HUP
while [ "${#program_of[@]}" -gt 0 ]; do
  wait -n -p ended "${!program_of[@]}"
  code=$?
  echo "$code $SECONDS" > "whole-${program_of[$ended]}.status"
  unset "program_of[$ended]"
done
