#!/usr/bin/env python3
"""Fails unless the test run of a build ran every test there is. Called by scripts/test.sh after ctest.

    scripts/check_tests_ran.py BUILD_FOLDER CTEST_JUNIT_FILE

- Every ctest test that is not one of the "each_<program>" tests (a test alone in a process, for running by
  hand) ran: the program shards, the fuzz corpora's replays, the checks of the tree.
- Every GoogleTest program built (tests/test_*) is one of the registered programs, and every test
  it lists ran in one of its shards (their whole/<program>.<shard>.json results).
- Every fuzz target (tests/fuzz/fuzz_*.cpp) replayed its corpus.
So a program, a test or a target that a change to the build or to the run leaves out fails CI.
"""
import json
import os
import pathlib
import subprocess
import sys
import xml.etree.ElementTree as ElementTree


def ctest_names(build, *label_args):
    out = subprocess.run(['ctest', '-N', *label_args], cwd=build, capture_output=True, text=True,
                         check=True).stdout
    names = set()
    for line in out.splitlines():
        line = line.strip()
        if line.startswith('Test') and '#' in line and ':' in line:
            names.add(line.split(':', 1)[1].strip())
    return names


def listed_tests(program):
    """The full names the program lists (gtest's --gtest_list_tests), shards not applied."""
    env = dict(os.environ)
    env.pop('GTEST_TOTAL_SHARDS', None)
    env.pop('GTEST_SHARD_INDEX', None)
    out = subprocess.run([str(program), '--gtest_list_tests'], cwd=program.parent, env=env,
                         capture_output=True, text=True, check=True).stdout
    names, suite = set(), ''
    for line in out.splitlines():
        if not line.strip():
            continue
        text = line.split('#', 1)[0].rstrip()
        if not line.startswith(' '):
            suite = text.strip()
        else:
            names.add(suite + text.strip())
    return names


def ran_tests(results):
    """The tests a gtest JSON result file says ran."""
    data = json.loads(results.read_text())
    names = set()
    for suite in data.get('testsuites', []):
        for test in suite.get('testsuite', []):
            if test.get('status', 'RUN') == 'RUN':
                names.add(suite['name'] + '.' + test['name'])
    return names


def main():
    build = pathlib.Path(sys.argv[1]).resolve()
    junit = pathlib.Path(sys.argv[2])
    tests = build / 'tests'
    problems = []

    ran = {case.get('name') for case in ElementTree.parse(junit).getroot().iter('testcase')}
    expected = ctest_names(build) - ctest_names(build, '-L', '^each_')
    for name in sorted(expected - ran):
        problems.append(f'ctest test {name} did not run')

    programs = {}
    for line in (tests / 'programs.txt').read_text().splitlines():
        if line.strip():
            name, shards = line.split()
            programs[name] = int(shards)
    for exe in sorted(tests.glob('test_*')):
        if exe.is_file() and os.access(exe, os.X_OK) and not exe.suffix and exe.name not in programs:
            problems.append(f'{exe.name} is built but runs in no shard (make it with orvex_test)')
    total = 0
    for name, shards in sorted(programs.items()):
        listed = listed_tests(tests / name)
        done = set()
        for shard in range(shards):
            results = tests / 'whole' / f'{name}.{shard}.json'
            if results.exists():
                done |= ran_tests(results)
            else:
                problems.append(f'{name}: shard {shard} wrote no results')
        for test in sorted(listed - done)[:20]:
            problems.append(f'{name}: {test} did not run')
        if len(listed - done) > 20:
            problems.append(f'{name}: {len(listed - done) - 20} more tests did not run')
        total += len(listed & done)

    sources = pathlib.Path(__file__).resolve().parent.parent / 'tests' / 'fuzz'
    for target in sorted(sources.glob('fuzz_*.cpp')):
        replay = 'fuzz_replay_' + target.stem[len('fuzz_'):]
        if replay not in ran:
            problems.append(f'{target.name}: its corpus was not replayed ({replay})')

    for problem in problems:
        print('check_tests_ran:', problem)
    print(f'check_tests_ran: {total} tests of {len(programs)} programs and {len(ran)} ctest tests ran'
          + ('' if not problems else f'; {len(problems)} problems'))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
