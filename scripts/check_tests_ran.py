#!/usr/bin/env python3
"""Fails unless the test run of a build ran every test it selected. Called by scripts/test.sh after ctest.

    scripts/check_tests_ran.py BUILD_FOLDER CTEST_JUNIT_FILE [CTEST_ARGUMENTS...]

CTEST_ARGUMENTS are the selection the run gave ctest besides scripts/test.sh's own (-R, -L, -E ...);
the check expects what they select. Without them the run is whole.
- The selection selects a test: ctest ends well when it matches none.
- Every ctest test selected ran, but for the "each_<program>" tests (a test alone in a process, for
  running by hand): the program shards, the fuzz corpora's replays, the checks of the tree. A test
  ctest did not run ("notrun": it returned its skip code or its program is missing; "disabled")
  did not run, though its JUnit file lists it.
- Every GoogleTest program built (tests/test_*) is one of the registered programs, and every test
  a selected shard holds (gtest's sharding of the program's whole list, whatever GTEST_FILTER or
  the like this process was given) ran there and was not skipped
  (its whole/<program>.<shard>.json), unless tests/may_skip.txt of the build's source tree names it.
  A program whose listing fails (it crashes or exits with another code than 0) is named with why.
  A disabled test ("DISABLED_") of a selected program is named there too, as a skip is.
- In a whole run, every fuzz target (tests/fuzz/fuzz_*.cpp) replayed its corpus.
So a program, a test or a target that a change to the build, to the run or to the machine leaves
out fails CI.
"""
import json
import os
import pathlib
import signal
import subprocess
import sys
import xml.etree.ElementTree as ElementTree


def usage_checked(argv, doc, least):
    """Ends the script with its usage (doc) on "--help" or "-h", or when argv holds fewer than `least`
    arguments (then failing)."""
    if len(argv) > 1 and argv[1] in ('--help', '-h'):
        print(doc.strip())
        sys.exit(0)
    if len(argv) <= least:
        print(doc.strip(), file=sys.stderr)
        sys.exit(2)


def ctest_names(build, *args):
    out = subprocess.run(['ctest', '-N', *args], cwd=build, capture_output=True, text=True,
                         check=True).stdout
    names = set()
    for line in out.splitlines():
        line = line.strip()
        if line.startswith('Test') and '#' in line and ':' in line:
            names.add(line.split(':', 1)[1].strip())
    return names


def unfiltered_environment(**settings):
    """This process's environment, with settings, less every variable by which GoogleTest chooses, repeats,
    shards or leaves out tests (GTEST_FILTER, GTEST_ALSO_RUN_DISABLED_TESTS, GTEST_TOTAL_SHARDS, a
    GTEST_FLAGFILE ... and the test runner's TESTBRIDGE_TEST_ONLY): a program run with it runs and lists
    all it holds."""
    env = {name: value for name, value in os.environ.items() if not name.startswith(('GTEST_', 'TESTBRIDGE_'))}
    env.update(settings)
    return env


class ListingFailed(Exception):
    """A program that could not list its tests; the text names it and says why, in one line."""


def listed_tests(program):
    """The full names the program lists (gtest's --gtest_list_tests), in its order, shards and filters not
    applied. Raises ListingFailed when it does not start or ends badly (a crash, an exit code but 0)."""
    failed = f'{program.name}: its tests cannot be listed: --gtest_list_tests '
    try:
        done = subprocess.run([str(program), '--gtest_list_tests'], cwd=program.parent, env=unfiltered_environment(),
                              capture_output=True, text=True, errors='replace')
    except OSError as error:
        raise ListingFailed(failed + f'does not start ({error.strerror})') from None
    if done.returncode:
        if done.returncode < 0:
            try:
                how = f'ended by signal {signal.Signals(-done.returncode).name}'
            except ValueError:
                how = f'ended by signal {-done.returncode}'
        else:
            how = f'exited with {done.returncode}'
        said = [line.strip() for line in done.stderr.splitlines() if line.strip()]
        raise ListingFailed(failed + how + (f' ("{said[-1]}")' if said else ''))
    out = done.stdout
    names, suite = [], ''
    for line in out.splitlines():
        if not line.strip():
            continue
        text = line.split('#', 1)[0].rstrip()
        if not line.startswith(' '):
            suite = text.strip()
        else:
            names.append(suite + text.strip())
    return names


def disabled(name):
    """Whether gtest leaves the test out as disabled: its suite's or its own name begins with DISABLED_,
    after a parameterised test's prefix ("Prefix/DISABLED_Suite")."""
    return any(part.startswith('DISABLED_') or '/DISABLED_' in part for part in name.split('.', 1))


def shard_tests(listed, shards, shard):
    """The tests gtest's sharding gives the shard: the n-th test not disabled goes to shard n % shards."""
    runnable = [name for name in listed if not disabled(name)]
    return [name for n, name in enumerate(runnable) if n % shards == shard]


def results_of(results):
    """The tests a gtest JSON result file says ran, and those of them that skipped."""
    data = json.loads(results.read_text())
    ran, skipped = set(), set()
    for suite in data.get('testsuites', []):
        for test in suite.get('testsuite', []):
            if test.get('status', 'RUN') == 'RUN':
                name = suite['name'] + '.' + test['name']
                ran.add(name)
                if test.get('result') == 'SKIPPED':
                    skipped.add(name)
    return ran, skipped


def registered_programs(tests):
    programs = {}
    for line in (tests / 'programs.txt').read_text().splitlines():
        if line.strip():
            name, shards = line.split()
            programs[name] = int(shards)
    return programs


def source_tree(build):
    """The source tree the build was configured from (its CMakeCache.txt)."""
    cache = build / 'CMakeCache.txt'
    if cache.exists():
        for line in cache.read_text().splitlines():
            if line.startswith('CMAKE_HOME_DIRECTORY:'):
                return pathlib.Path(line.split('=', 1)[1])
    return pathlib.Path(__file__).resolve().parent.parent


def may_skip(source):
    """tests/may_skip.txt: "<program> <test> <why>" a line; the tests that may skip in any run."""
    allowed = set()
    path = source / 'tests' / 'may_skip.txt'
    for line in path.read_text().splitlines() if path.exists() else []:
        fields = line.split(None, 2)
        if fields and not line.startswith('#'):
            allowed.add((fields[0], fields[1]))
    return allowed


def main(argv):
    usage_checked(argv, __doc__, 2)
    build = pathlib.Path(argv[1]).resolve()
    junit = pathlib.Path(argv[2])
    selection = argv[3:]
    tests = build / 'tests'
    source = source_tree(build)
    problems = []

    # A test ctest skipped or left out is listed too: "notrun" or "disabled" rather than "run" or "fail".
    status = {case.get('name'): case.get('status') for case in ElementTree.parse(junit).getroot().iter('testcase')}
    ran = {name for name, how in status.items() if how in ('run', 'fail')}
    selected = ctest_names(build, '-LE', '^each_', *selection)
    if not selected:
        what = f'the selection {" ".join(selection)}' if selection else 'the run'
        problems.append(f'{what} selects no test: -R matches ctest\'s names, the shards "<program>.whole.<n>", '
                        'the replays "fuzz_replay_<target>" and the checks of the tree, not GoogleTest\'s suites and tests')
    for name in sorted(selected - ran):
        problems.append(f'ctest test {name} did not run' + (f' ({status[name]})' if name in status else ''))

    programs = registered_programs(tests)
    for exe in sorted(tests.glob('test_*')):
        if exe.is_file() and os.access(exe, os.X_OK) and not exe.suffix and exe.name not in programs:
            problems.append(f'{exe.name} is built but runs in no shard (make it with orvex_test)')
    allowed = may_skip(source)
    total, count = 0, 0
    for name, shards in sorted(programs.items()):
        chosen = [shard for shard in range(shards) if f'{name}.whole.{shard}' in selected]
        if not chosen:
            continue
        count += 1
        try:
            listed = listed_tests(tests / name)
        except ListingFailed as failure:
            problems.append(str(failure))
            continue
        if not listed:
            problems.append(f'{name} lists no test')
        for test in listed:
            if disabled(test) and (name, test) not in allowed:
                problems.append(f'{name}: {test} is disabled (name it in tests/may_skip.txt if it may)')
        expected, done, skipped = set(), set(), set()
        for shard in chosen:
            expected |= set(shard_tests(listed, shards, shard))
            results = tests / 'whole' / f'{name}.{shard}.json'
            if results.exists():
                shard_ran, shard_skipped = results_of(results)
                done |= shard_ran
                skipped |= shard_skipped
            else:
                problems.append(f'{name}: shard {shard} wrote no results (it crashed or was stopped)')
        missing = sorted(expected - done)
        for test in missing[:20]:
            problems.append(f'{name}: {test} did not run')
        if len(missing) > 20:
            problems.append(f'{name}: {len(missing) - 20} more tests did not run')
        for test in sorted(skipped):
            if (name, test) not in allowed:
                problems.append(f'{name}: {test} skipped (name it in tests/may_skip.txt if it may)')
        total += len(expected & (done - skipped))

    if not selection:
        for target in sorted((source / 'tests' / 'fuzz').glob('fuzz_*.cpp')):
            replay = 'fuzz_replay_' + target.stem[len('fuzz_'):]
            if replay not in ran:
                problems.append(f'{target.name}: its corpus was not replayed ({replay})')

    for problem in problems:
        print('check_tests_ran:', problem)
    print(f'check_tests_ran: {total} tests of {count} programs and {len(ran)} ctest tests ran'
          + ('' if not selection else ' (of those the run selected)')
          + ('' if not problems else f'; {len(problems)} problems'))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
