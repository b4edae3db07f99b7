#!/usr/bin/env python3
"""Runs each test of a failed shard alone, in a process of its own. Called by scripts/test.sh when ctest failed.

    scripts/run_failed_alone.py BUILD_FOLDER CTEST_JUNIT_FILE

A shard that wrote its results has its failed tests run alone, which tells a test that fails anyway
from one that fails only after another. A shard that failed without results crashed or was stopped
(its results are written at its end): it is named, and every test it holds is run alone, so the
one that crashes shows. Several tests run side by side, one a core the process may use; each has
the time limit of a test alone under ctest.
"""
import concurrent.futures
import json
import os
import pathlib
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
from check_tests_ran import ListingFailed, listed_tests, registered_programs, shard_tests, unfiltered_environment, usage_checked

TIME_LIMIT = 300  # seconds, as for the tests labelled "each_<program>"


def alone(tests, program, name):
    """'fails' or 'passes' for one test in a process of its own, with the environment of the shards."""
    env = unfiltered_environment(SDL_NO_SIGNAL_HANDLERS='1', LP_NUM_THREADS='1')
    try:
        done = subprocess.run([str(tests / program), '--gtest_brief=1', '--gtest_filter=' + name],
                              cwd=tests, env=env, capture_output=True, timeout=TIME_LIMIT)
        return 'fails' if done.returncode else 'passes'
    except subprocess.TimeoutExpired:
        return f'fails (stopped after {TIME_LIMIT} s)'


def failed_in(results):
    data = json.loads(results.read_text())
    return [suite['name'] + '.' + test['name'] for suite in data.get('testsuites', [])
            for test in suite.get('testsuite', []) if test.get('failures')]


def main(argv):
    usage_checked(argv, __doc__, 2)
    build = pathlib.Path(argv[1]).resolve()
    tests = build / 'tests'
    failed_shards = {case.get('name') for case in ElementTree.parse(argv[2]).getroot().iter('testcase')
                     if case.get('status') == 'fail'}
    runs = []  # (program, test, why)
    for program, shards in sorted(registered_programs(tests).items()):
        for shard in range(shards):
            if f'{program}.whole.{shard}' not in failed_shards:
                continue
            results = tests / 'whole' / f'{program}.{shard}.json'
            if results.exists():
                runs += [(program, name, 'failed in its shard') for name in failed_in(results)]
                continue
            try:
                held = shard_tests(listed_tests(tests / program), shards, shard)
            except ListingFailed as failure:
                print(f'{program} shard {shard} failed without results, and {failure}')
                continue
            print(f'{program} shard {shard} failed without results (it crashed or was stopped); '
                  f'its {len(held)} tests alone:')
            runs += [(program, name, f'of crashed shard {shard}') for name in held]
    with concurrent.futures.ThreadPoolExecutor(max_workers=len(os.sched_getaffinity(0))) as pool:
        outcomes = pool.map(lambda run: alone(tests, run[0], run[1]), runs)
        for (program, name, why), outcome in zip(runs, outcomes):
            if why == 'failed in its shard':
                print(f'{program} {name}: failed in its shard; alone it',
                      'fails too' if outcome != 'passes' else 'passes (it fails only after another test)')
            elif outcome != 'passes':
                print(f'{program} {name} ({why}): alone it {outcome}')
    crashed = sum(1 for run in runs if run[2] != 'failed in its shard')
    if crashed:
        print(f'{crashed} tests of crashed shards run alone; those that failed are named above')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
