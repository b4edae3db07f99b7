#!/usr/bin/env python3
"""scripts/check_player_start.sh on made-up trees: the real check, run.sh and help.sh, a set-up and a
player's build that do nothing, and in the build folder a game that logs the case's lines and the
start menu's, writes the case's lines to its standard error, then waits to be told to quit and
writes its settings.
"""
import concurrent.futures
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

SCRIPTS = pathlib.Path(__file__).resolve().parents[2] / 'scripts'
GAME = '''#!/bin/sh
mkdir -p logs && cat "$GAME_LINES" > logs/logfile.log
cat "$GAME_ERRORS" >&2
echo 'Start-up over, menu "STARTMENU" active' >> logs/logfile.log
trap 'mkdir -p "$XDG_DATA_HOME/Orvex/Velquorandix" && : > "$XDG_DATA_HOME/Orvex/Velquorandix/config.cfg"; exit 0' TERM
while :; do sleep 0.1; done
'''
STANDINS = {'setup.sh': 'exit 0', 'player_build.sh': 'exit 0', 'game/app/solitaire': GAME}


def check(top, lines, build, errors=()):
    """The check's exit code and output on a tree in top whose game is in build (None: the default), logs
    lines and writes errors to its standard error."""
    (top / 'scripts').mkdir()
    for name in ('check_player_start.sh', 'run.sh', 'help.sh'):
        shutil.copy(SCRIPTS / name, top / 'scripts' / name)
    for name, text in STANDINS.items():
        path = top / ('scripts' if name.endswith('.sh') else build or 'build') / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text if text.startswith('#!') else '#!/bin/sh\n' + text)
        path.chmod(0o755)
    (top / 'lines').write_text(''.join(line + '\n' for line in lines))
    (top / 'errors').write_text(''.join(line + '\n' for line in errors))
    command = ['bash', str(top / 'scripts' / 'check_player_start.sh')] + ([str(top / build)] if build else [])
    done = subprocess.run(command, env=dict(os.environ, GAME_LINES=str(top / 'lines'), GAME_ERRORS=str(top / 'errors')),
                          capture_output=True, text=True)
    return done.returncode, done.stdout


class CheckPlayerStartTest(unittest.TestCase):
    def test_starts(self):
        started, errors = 'player start: the start menu after', 'player start: FAILED: its log holds ERROR lines'
        stderr = 'player start: FAILED: its standard error holds ERROR lines'
        cases = [  # what, the log's lines, the build folder given, a text printed (passing when it is started)
            ('a clean start in the build given', [], 'other', started),
            ('a clean start in build/, given none', [], None, started),
            ('an indented error line', ['\tERROR Texture: "data\\x.png" cannot be read'], None, errors),
            ('an error line beside a NUL byte', ['Sound: a \0 in a name', 'ERROR Texture: "data\\x.png" cannot be read'], None, errors),
            ("the music's output", ['ERROR Music: cannot open the audio output (dummy)'], None, errors),
            ('a music file', ['ERROR MusicStream: "data\\Sounds\\menu.wav" cannot be played'], None, errors),
            ('a property file not found', ['Property file "data\\GUI\\Hilfe.gui" not found'], None, 'not found'),
            ('one beside a NUL byte', ['a \0 in a name', 'Property file "data\\GUI\\Hilfe.gui" not found'], None,
             'not found'),
            ("the publisher's splash", ['Property file "data\\textures\\publisher.tex" not found'], None, started),
        ]
        # what, the lines on standard error, a text printed: the log itself is clean.
        cases += [(what, [], None, text, lines) for what, lines, text in [
            ('an error line on standard error', ['ERROR The log file "logs/logfile.log" cannot be opened'], stderr),
            ('a coloured one, as the console shows it', ['\x1b[31mERROR D3D: the shader failed\x1b[0m'], stderr),
            ("the port layer's, indented", ['  ERROR D3DX: PNG: cut short'], stderr),
            ("a sanitizer's report", ['==4242==ERROR: AddressSanitizer: heap-use-after-free'], stderr),
            ('an error line beside a NUL byte', ['a \0 in a name', 'ERROR D3D: the shader failed'], stderr),
            ('warnings and a word "error" inside a line',
             ['WARNING Music: none', 'libEGL warning: no error here', 'MESA: error: none either'], started),
        ]]
        with tempfile.TemporaryDirectory() as top, concurrent.futures.ThreadPoolExecutor(len(cases)) as pool:
            runs = [pool.submit(check, pathlib.Path(tempfile.mkdtemp(dir=top)), case[1], case[2], *case[4:])
                    for case in cases]
            for (what, _, _, text, *_), run in zip(cases, runs):
                with self.subTest(what):
                    code, out = run.result()
                    self.assertEqual(code == 0, text == started, out)
                    self.assertIn(text, out)


if __name__ == '__main__':
    unittest.main()
