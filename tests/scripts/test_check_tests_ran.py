#!/usr/bin/env python3
"""scripts/check_tests_ran.py and scripts/run_failed_alone.py on a small made-up run.

The build holds one program "prog" of two shards listing Suite.A .. Suite.D (gtest's sharding
gives shard 0 A and C, shard 1 B and D), a fuzz target "a" and its replay; the source tree's
tests/may_skip.txt lets Suite.D skip and Suite.DISABLED_F be disabled. Each case changes the
complete run (or the check's environment) and says whether the check passes and what it prints.
"""
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPTS = pathlib.Path(__file__).resolve().parents[2] / 'scripts'
TESTS = ['Suite.A', 'Suite.B', 'Suite.C', 'Suite.D']
SHARDS = {0: ['Suite.A', 'Suite.C'], 1: ['Suite.B', 'Suite.D']}

# Lists its tests as gtest does (LISTING: the names after "Suite."), so a GTEST_FILTER in its
# environment (here one that matches none) leaves them out; run alone, Suite.B fails.
PROGRAM = '''#!/bin/sh
for argument in "$@"; do
  case "$argument" in
    --gtest_list_tests) [ -n "${GTEST_FILTER:-}" ] || printf 'Suite.\\nLISTING' ;;
    --gtest_filter=Suite.B) exit 1 ;;
  esac
done
'''


def make_run(top, skipped=(), missing_shards=(), failed_shards=(), selection=(), statuses=None, disabled=(),
             empty_shards=(), tests=TESTS, program_text=None):
    """A build and source tree in `top` as a run left them; returns the build folder. statuses gives
    ctest tests a JUnit status of their own; the program lists `tests` and the disabled tests, unless
    program_text is the program; the empty shards ran no test (as under a GTEST_FILTER that matches
    none)."""
    source, build = top / 'source', top / 'build'
    (source / 'tests' / 'fuzz').mkdir(parents=True)
    (source / 'tests' / 'fuzz' / 'fuzz_a.cpp').write_text('')
    (source / 'tests' / 'may_skip.txt').write_text(
        '# program test why\nprog Suite.D made up for this test\nprog Suite.DISABLED_F made up too\n')
    (build / 'tests' / 'whole').mkdir(parents=True)
    (build / 'CMakeCache.txt').write_text(f'CMAKE_HOME_DIRECTORY:INTERNAL={source}\n')
    program = build / 'tests' / 'prog'
    listing = ''.join(f'  {name.split(".")[1]}\\n' for name in list(tests) + list(disabled))
    program.write_text(program_text or PROGRAM.replace('LISTING', listing))
    program.chmod(0o755)
    (build / 'tests' / 'programs.txt').write_text('prog 2\n')
    ctest = ['prog.whole.0', 'prog.whole.1', 'fuzz_replay_a']
    (build / 'CTestTestfile.cmake').write_text(''.join(
        [f'add_test({name} "/bin/true")\n' for name in ctest]
        + [f'add_test({name} "/bin/true")\nset_tests_properties({name} PROPERTIES LABELS "each_prog")\n'
           for name in TESTS]))
    chosen = [name for name in ctest if not selection or name in selection]
    status = {name: 'fail' if name in failed_shards else 'run' for name in chosen} | (statuses or {})
    cases = ''.join(f'<testcase name="{name}" status="{how}"/>' for name, how in status.items())
    (build / 'junit.xml').write_text(f'<testsuite>{cases}</testsuite>')
    for shard, names in SHARDS.items():
        if f'prog.whole.{shard}' not in chosen or shard in missing_shards:
            continue
        suite = [{'name': name.split('.')[1], 'status': 'RUN',
                  'result': 'SKIPPED' if name in skipped else 'COMPLETED'}
                 for name in names if shard not in empty_shards]
        (build / 'tests' / 'whole' / f'prog.{shard}.json').write_text(
            json.dumps({'testsuites': [{'name': 'Suite', 'testsuite': suite}]}))
    return build


def run(script, build, *arguments, environment=None):
    # As CI runs them: Python may write the bytecode of what a script imports.
    env = {name: value for name, value in os.environ.items() if name != 'PYTHONDONTWRITEBYTECODE'}
    env.update(environment or {})
    done = subprocess.run([sys.executable, str(SCRIPTS / script), str(build), str(build / 'junit.xml'), *arguments],
                          capture_output=True, text=True, env=env)
    return done.returncode, done.stdout + done.stderr


class CheckTestsRanTest(unittest.TestCase):
    def test_runs(self):
        cases = [
            # what, the run, ctest's selection, passes, a text the check prints
            ('a complete run', {}, [], True, '4 tests of 1 programs and 3 ctest tests ran'),
            ('a skip the list allows', {'skipped': ['Suite.D']}, [], True, '3 tests of 1 programs'),
            ('a skip off the list', {'skipped': ['Suite.C']}, [], False,
             'prog: Suite.C skipped (name it in tests/may_skip.txt if it may)'),
            ('a shard without results', {'missing_shards': [1]}, [], False,
             'prog: shard 1 wrote no results (it crashed or was stopped)'),
            ('a filtered run of one shard', {'selection': ['prog.whole.1']}, ['-R', 'prog.whole.1'], True,
             '2 tests of 1 programs and 1 ctest tests ran (of those the run selected)'),
            ('a filtered run whose shard left no results', {'selection': ['prog.whole.1'], 'missing_shards': [1]},
             ['-R', 'prog.whole.1'], False, 'prog: Suite.B did not run'),
            ('a whole run without a shard', {'selection': ['prog.whole.1', 'fuzz_replay_a']}, [], False,
             'ctest test prog.whole.0 did not run'),
            ('a selection that matches nothing', {'selection': ['none']}, ['-R', 'typo'], False,
             'the selection -R typo selects no test'),
            ('a selection of a suite, whose tests run one a process by hand', {'selection': ['none']},
             ['-R', 'Suite'], False, 'the selection -R Suite selects no test'),
            ('a replay ctest skipped', {'statuses': {'fuzz_replay_a': 'notrun'}}, [], False,
             'ctest test fuzz_replay_a did not run (notrun)'),
            ('a disabled shard', {'statuses': {'prog.whole.1': 'disabled'}}, [], False,
             'ctest test prog.whole.1 did not run (disabled)'),
            ('a disabled test off the list', {'disabled': ['Suite.DISABLED_E']}, [], False,
             'prog: Suite.DISABLED_E is disabled (name it in tests/may_skip.txt if it may)'),
            ('a disabled test the list names', {'disabled': ['Suite.DISABLED_F']}, [], True,
             '4 tests of 1 programs and 3 ctest tests ran'),
            # A filter left in the shell is not the run's: the program's whole list is expected.
            ('a complete run, checked under a GTEST_FILTER', {'environment': {'GTEST_FILTER': 'None.*'}}, [], True,
             '4 tests of 1 programs and 3 ctest tests ran'),
            ('shards that ran none under a GTEST_FILTER',
             {'environment': {'GTEST_FILTER': 'None.*'}, 'empty_shards': [0, 1]}, [], False,
             'prog: Suite.A did not run'),
            ('a program that lists no test', {'tests': [], 'empty_shards': [0, 1]}, [], False, 'prog lists no test'),
            ('a program that crashes when asked for its list', {'program_text': '#!/bin/sh\nkill -SEGV $$\n'}, [],
             False, 'prog: its tests cannot be listed: --gtest_list_tests ended by signal SIGSEGV'),
            ('a program that fails when asked for its list',
             {'program_text': '#!/bin/sh\necho "no such library" >&2\nexit 3\n'}, [], False,
             'prog: its tests cannot be listed: --gtest_list_tests exited with 3 ("no such library")'),
        ]
        for what, change, selection, passes, text in cases:
            with self.subTest(what), tempfile.TemporaryDirectory() as top:
                environment = change.pop('environment', None)
                code, out = run('check_tests_ran.py', make_run(pathlib.Path(top), **change), *selection,
                                environment=environment)
                self.assertEqual(code == 0, passes, out)
                self.assertIn(text, out)
                self.assertNotIn('Traceback', out)

    def test_a_crashed_shard_is_named_and_its_tests_run_alone(self):
        cache = SCRIPTS / '__pycache__'
        cached_before = cache.exists()
        with tempfile.TemporaryDirectory() as top:
            build = make_run(pathlib.Path(top), missing_shards=[1], failed_shards=['prog.whole.1'])
            code, out = run('run_failed_alone.py', build)
            self.assertEqual(code, 0, out)
            self.assertIn('prog shard 1 failed without results (it crashed or was stopped); its 2 tests alone:', out)
            self.assertIn('prog Suite.B (of crashed shard 1): alone it fails', out)
            self.assertNotIn('Suite.D', out)
            self.assertNotIn('Suite.A', out)
            # A crashed shard of a program that cannot even list its tests: one line, no traceback.
            build = make_run(pathlib.Path(top) / 'crashing', missing_shards=[1], failed_shards=['prog.whole.1'],
                             program_text='#!/bin/sh\nkill -SEGV $$\n')
            code, out = run('run_failed_alone.py', build)
            self.assertEqual(code, 0, out)
            self.assertIn('prog shard 1 failed without results, and prog: its tests cannot be listed: '
                          '--gtest_list_tests ended by signal SIGSEGV', out)
            self.assertNotIn('Traceback', out)
        # It imports check_tests_ran.py, whose bytecode would stay untracked in the tree.
        self.assertTrue(cached_before or not cache.exists(), 'scripts/__pycache__ was written')


if __name__ == '__main__':
    unittest.main()
