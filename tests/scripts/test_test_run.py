#!/usr/bin/env python3
"""scripts/test.sh on made-up trees: the real test.sh and help.sh, stand-ins for the other steps (the
set-up leaves a mark; the player's build leaves one when it starts and another two seconds later; the
others print what they are) and a CMakeLists.txt of the case's.

- A tree whose test build fails at once: the run still waits for the player's build and starts its
  game; on --help it only prints its usage.
- Arguments that are no selection are refused with a line before the set-up runs; -R and -L run.
- GoogleTest's variables that choose tests do not reach the test programs, whatever the caller's
  environment holds; the shards' own do.
"""
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

SCRIPTS = pathlib.Path(__file__).resolve().parents[2] / 'scripts'
STANDINS = {
    'setup.sh': '#!/bin/sh\ntouch "$(dirname "$0")/../set-up"',
    'player_build.sh': '#!/bin/sh\nmkdir -p "$1"; touch "$1/started"; sleep 2; touch "$1/built"',
    'check_player_start.sh': 'echo "start checked in $1"',
    'test_fuzz.sh': 'echo fuzzed',
    'check_tests_ran.py': 'print("what ran checked")',
    'check_compiles_alone.py': 'print("compiled alone")',
}
FAILING_BUILD = 'message(FATAL_ERROR "a test build that fails")\n'
# One shard of a program, without compilers: it writes down the GoogleTest variables it was given.
ONE_SHARD = '''cmake_minimum_required(VERSION 3.20)
project(made_up NONE)
enable_testing()
add_test(NAME prog.whole.1 COMMAND sh -c "env | grep -E '^(GTEST|TESTBRIDGE)_' | sort > seen.txt")
set_tests_properties(prog.whole.1 PROPERTIES ENVIRONMENT "GTEST_TOTAL_SHARDS=2;GTEST_SHARD_INDEX=1")
'''


def tree(top, cmakelists):
    """The made-up tree in top; the command that runs its test.sh."""
    (top / 'scripts').mkdir()
    for name in ('test.sh', 'help.sh'):
        shutil.copy(SCRIPTS / name, top / 'scripts' / name)
    for name, text in STANDINS.items():
        (top / 'scripts' / name).write_text(text + '\n')
        (top / 'scripts' / name).chmod(0o755)
    (top / 'CMakeLists.txt').write_text(cmakelists)
    return ['bash', str(top / 'scripts' / 'test.sh')]


def run(command, environment=None):
    done = subprocess.run(command, capture_output=True, text=True, env=dict(os.environ, **(environment or {})))
    return done.returncode, done.stdout + done.stderr


class TestRunTest(unittest.TestCase):
    def test_runs(self):
        with tempfile.TemporaryDirectory() as top:
            top = pathlib.Path(top)
            test = tree(top, FAILING_BUILD)
            helped = subprocess.run(test + ['--help'], capture_output=True, text=True)
            self.assertEqual((helped.returncode, helped.stdout[:24]), (0, 'Installs what is missing'))
            self.assertEqual(sorted(path.name for path in top.iterdir()), ['CMakeLists.txt', 'scripts'])
            code, out = run(test)
            self.assertTrue((top / 'build' / 'built').exists(), "the player's build was not waited for:\n" + out)
            self.assertIn(f'start checked in {top / "build"}', out)
            self.assertIn('build: FAILED', out)
            self.assertNotEqual(code, 0, out)
            for step in ('ctest:', 'fuzzed', 'what ran checked', 'compiled alone'):
                self.assertNotIn(step, out)

    def test_takes_only_a_selection(self):
        cases = [  # the arguments, the line of a refusal (None: taken)
            (['--bogus'], '"--bogus" is not an argument it takes'),
            (['-r', 'fuzz'], '"-r" is not an argument it takes'),
            (['-j', '2'], '"-j" is not an argument it takes'),
            (['-R', 'prog', '--output-on-failure'], '"--output-on-failure" is not an argument it takes'),
            (['-L'], '-L needs a value'),
            (['-R', 'x'], None),
            (['-L', 'y'], None),
            (['-R', 'prog', '-E', 'fuzz_'], None),
        ]
        for arguments, refusal in cases:
            with self.subTest(' '.join(arguments)), tempfile.TemporaryDirectory() as top:
                top = pathlib.Path(top)
                code, out = run(tree(top, ONE_SHARD) + arguments)
                if refusal:
                    self.assertEqual(code, 2, out)
                    self.assertIn('test.sh: ' + refusal, out)
                    self.assertEqual(sorted(path.name for path in top.iterdir()), ['CMakeLists.txt', 'scripts'], out)
                else:
                    self.assertEqual(code, 0, out)
                    self.assertTrue((top / 'set-up').exists(), out)
                    self.assertIn('what ran checked', out)
                    self.assertNotIn('compiled alone', out)  # a selection builds, but proves nothing alone
                    self.assertFalse((top / 'build').exists(), "a selection started the player's build:\n" + out)

    def test_the_callers_gtest_variables_do_not_reach_the_tests(self):
        with tempfile.TemporaryDirectory() as top:
            top = pathlib.Path(top)
            code, out = run(tree(top, ONE_SHARD) + ['-R', 'prog'],
                            {'GTEST_FILTER': 'None.*', 'GTEST_ALSO_RUN_DISABLED_TESTS': '1', 'GTEST_REPEAT': '0',
                             'GTEST_TOTAL_SHARDS': '9', 'GTEST_FLAGFILE': '/nowhere', 'TESTBRIDGE_TEST_ONLY': 'None.*'})
            self.assertEqual(code, 0, out)
            seen = (top / 'build-test' / 'seen.txt').read_text().split()
            self.assertEqual(seen, ['GTEST_SHARD_INDEX=1', 'GTEST_TOTAL_SHARDS=2'], out)


if __name__ == '__main__':
    unittest.main()
