#!/usr/bin/env python3
"""scripts/test.sh on a made-up tree whose test build fails at once: the real test.sh and help.sh, a
CMakeLists.txt that fails, and stand-ins for the other steps. The player's build takes two seconds
and then leaves a mark; the others print what they are. On --help it only prints its usage.
"""
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

SCRIPTS = pathlib.Path(__file__).resolve().parents[2] / 'scripts'
STANDINS = {
    'setup.sh': '#!/bin/sh\nexit 0',
    'player_build.sh': '#!/bin/sh\nsleep 2; mkdir -p "$1"; touch "$1/built"',
    'check_player_start.sh': 'echo "start checked in $1"',
    'test_fuzz.sh': 'echo fuzzed',
    'check_tests_ran.py': 'print("what ran checked")',
}


class TestRunTest(unittest.TestCase):
    def test_runs(self):
        with tempfile.TemporaryDirectory() as top:
            top = pathlib.Path(top)
            (top / 'scripts').mkdir()
            for name in ('test.sh', 'help.sh'):
                shutil.copy(SCRIPTS / name, top / 'scripts' / name)
            for name, text in STANDINS.items():
                (top / 'scripts' / name).write_text(text + '\n')
                (top / 'scripts' / name).chmod(0o755)
            (top / 'CMakeLists.txt').write_text('message(FATAL_ERROR "a test build that fails")\n')
            test = ['bash', str(top / 'scripts' / 'test.sh')]
            helped = subprocess.run(test + ['--help'], capture_output=True, text=True)
            self.assertEqual((helped.returncode, helped.stdout[:24]), (0, 'Installs what is missing'))
            self.assertEqual(sorted(path.name for path in top.iterdir()), ['CMakeLists.txt', 'scripts'])
            done = subprocess.run(test, capture_output=True, text=True)
            out = done.stdout + done.stderr
            self.assertTrue((top / 'build' / 'built').exists(), "the player's build was not waited for:\n" + out)
            self.assertIn(f'start checked in {top / "build"}', out)
            self.assertIn('build: FAILED', out)
            self.assertNotEqual(done.returncode, 0, out)
            for step in ('ctest:', 'fuzzed', 'what ran checked'):
                self.assertNotIn(step, out)


if __name__ == '__main__':
    unittest.main()
