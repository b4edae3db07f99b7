#!/usr/bin/env python3
"""The unity builds' checks on made-up sources: scripts/check_file_local_names.py finds the names
two files keep to themselves and would meet in one unit, scripts/unity_groups.py keeps existing
groups and puts new sources into groups of their own, cmake/UnityGroups.cmake compiles a source in
no group alone (so a new file never joins another's unit), and scripts/check_compiles_alone.py
fails a source that compiles only after another one of its unit.
"""
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / 'scripts'))
import check_file_local_names  # noqa: E402


def run(*args, cwd=None):
    done = subprocess.run([sys.executable, *map(str, args)], capture_output=True, text=True, cwd=cwd)
    return done.returncode, done.stdout + done.stderr


class FileLocalNamesTest(unittest.TestCase):
    def test_pairs(self):
        cases = [  # what, first file, second file, the name they meet on (None: they do not)
            ('an alias of another type (the maze tests)', 'namespace {\nusing Cell = int;\n}',
             'namespace {\nusing Cell = std::pair<int, int>;\n}', 'Cell'),
            ('the same alias twice', 'namespace fs = std::filesystem;', 'namespace fs = std::filesystem;', None),
            ('a namespace alias of another namespace', 'namespace fs = std::filesystem;', 'namespace fs = boost;',
             'fs'),
            ('overloads that a call would mix (rect)', 'namespace {\nint rect(int x, int y) { return x; }\n}',
             'namespace {\nfloat rect(float x, float y) { return x; }\n}', 'rect'),
            ('static functions', 'static int helper() { return 1; }', 'static void helper(int) {}', 'helper'),
            ('template functions', 'namespace {\ntemplate <class T>\nT twice(T v) { return v + v; }\n}',
             'namespace {\nint twice(int v) { return 2 * v; }\n}', 'twice'),
            ('constants', 'constexpr int kSeeds = 200;', 'namespace {\nconstexpr int kSeeds = 20;\n}', 'kSeeds'),
            ('constants of template types', 'constexpr std::array<wchar_t const*, 2> kNames = {L"a", L"b"};',
             'const std::map<int, int> kNames{};', 'kNames'),
            ('a constant beside a class', 'namespace {\nstruct Piece { int id; };\n}',
             'namespace {\nusing Piece = int;\n}', 'Piece'),
            ('enumerations', 'namespace {\nenum class Source { kA, kB };\n}', 'namespace {\nenum Source { kC };\n}',
             'Source'),
            ('the same name in other namespaces', 'namespace A {\nnamespace {\nint f() { return 1; }\n}\n}',
             'namespace B {\nnamespace {\nint f() { return 2; }\n}\n}', None),
            ('names of nested namespaces written as one', 'namespace A::B {\nconstexpr int k = 1;\n}',
             'namespace A {\nnamespace B {\nconstexpr int k = 2;\n}\n}', 'k'),
            ("overloads for classes of their own file (gtest's PrintTo)",
             'namespace {\nstruct ACase {};\nvoid PrintTo(ACase const&, std::ostream*) {}\n}',
             'namespace {\nstruct BCase {};\nvoid PrintTo(BCase const& c, std::ostream* out) {}\n}', None),
            ('members and static members defined out of their class',
             'void Foo::bar() {}\nconstexpr Shape Foo::kShape{{}, 0};\nint Foo::count = 0;',
             'void Foo::bar(int) {}\nconstexpr Shape Bar::kShape{{}, 0};\nint Bar::count = 0;', None),
            ('names with external linkage', 'int counter = 0;\nvoid work() {}', 'int counter2 = 0;\nvoid work(int);', None),
            ('prototypes, declarations and tests', 'namespace {\nint later(int v);\nstruct Fwd;\n}\nTEST_F(A, B) {}',
             'namespace {\nint later(int v);\nstruct Fwd;\n}\nTEST_F(A, B) {}', None),
            ('locals of bodies', 'void f() {\n    constexpr int kLocal = 1;\n}', 'void g() {\n    int kLocal = 2;\n}',
             None),
            ('text in comments and strings', '// constexpr int kX = 1;\nchar const* s = "static int kX = 2;";',
             '/* using kX = int; */\nauto r = R"(constexpr int kX = 3;)";', None),
            ('classes whose definitions go on to a variable', 'namespace {\nstruct { int a; } shared;\n}',
             'static int shared = 1;', 'shared'),
            ('variables made by a constructor', 'namespace {\nstd::string const kName("a");\n}',
             'static std::string const kName(3, \'x\');', 'kName'),
        ]
        for what, first, second, met in cases:
            with self.subTest(what):
                with tempfile.TemporaryDirectory() as top:
                    top = pathlib.Path(top)
                    (top / 'a.cpp').write_text(first + '\n')
                    (top / 'b.cpp').write_text(second + '\n')
                    (top / 'sources.txt').write_text('T prog a.cpp b.cpp\nT other a.cpp\n')
                    rc, out = run(ROOT / 'scripts/check_file_local_names.py', top / 'sources.txt', top)
                    if met is None:
                        self.assertEqual((rc, out), (0, ''))
                    else:
                        self.assertEqual(rc, 1, out)
                        self.assertIn(f'{met} is defined file-locally in a.cpp:', out)
                        self.assertIn('prog:', out)
                        self.assertNotIn('other:', out)

    def test_lines(self):
        names = check_file_local_names.file_local_names(
            'namespace {\n\nconstexpr int kA = 1, kB = 2;\n\nint helper(\n    int v) {\n    return v;\n}\n}\n')
        self.assertEqual([(n, line) for _, n, line, _, _ in names], [('kA', 3), ('kB', 3), ('helper', 5)])


def write_groups(top, lines):
    (top / 'cmake').mkdir(exist_ok=True)
    (top / 'cmake' / 'unity_groups.txt').write_text('# groups\n' + ''.join(line + '\n' for line in lines))


class UnityGroupsTest(unittest.TestCase):
    def tree(self, top, sources, groups):
        (top / 'scripts').mkdir()
        shutil.copy(ROOT / 'scripts' / 'unity_groups.py', top / 'scripts')
        for s in {s for files in sources.values() for s in files}:
            (top / s).parent.mkdir(parents=True, exist_ok=True)
            (top / s).write_text('')
        (top / 'build').mkdir()
        (top / 'build' / 'unity_sources.txt').write_text(
            ''.join(f'T {t} {" ".join(files)}\n' for t, files in sources.items()))
        write_groups(top, groups)

    def test_update_keeps_every_existing_group(self):
        with tempfile.TemporaryDirectory() as top:
            top = pathlib.Path(top)
            new = [f'lib/n{i:02}.cpp' for i in range(10)]
            self.tree(top, {'lib': ['lib/a.cpp', 'lib/b.cpp', 'lib/z.cpp'] + new, 'one': ['tool/main.cpp'],
                            'app': ['app/x.cpp', 'lib/b.cpp']},
                      ['lib.0 lib/a.cpp', 'lib.0 lib/z.cpp', 'lib.1 lib/b.cpp', 'lib.1 lib/gone.cpp', 'app.0 app/x.cpp'])
            script = top / 'scripts' / 'unity_groups.py'
            rc, out = run(script, '--check', top / 'build')
            self.assertEqual(rc, 1)
            self.assertIn('lib/gone.cpp (group lib.1) is gone', out)
            self.assertIn('lib/n00.cpp of lib is in no unity group', out)
            self.assertNotIn('tool/main.cpp', out)  # a target of one source needs no group
            rc, out = run(script, '--update', top / 'build')
            self.assertEqual(rc, 0, out)
            lines = [line for line in (top / 'cmake' / 'unity_groups.txt').read_text().splitlines()
                     if not line.startswith('#')]
            self.assertEqual(lines[:4], ['lib.0 lib/a.cpp', 'lib.0 lib/z.cpp', 'lib.1 lib/b.cpp', 'app.0 app/x.cpp'])
            self.assertEqual(lines[4:], [f'lib.2 {s}' for s in new[:8]] + [f'lib.3 {s}' for s in new[8:]])
            self.assertEqual(run(script, '--check', top / 'build'), (0, ''))


class UnityBuildTest(unittest.TestCase):
    """A project of three sources that cannot share a unit: a and b in one group, c, a new file
    defining what a defines, in none."""

    SOURCES = {
        'a.cpp': '#include <string>\nnamespace {\nusing Cell = int;\n}\nstd::string a() { return "a"; }\n',
        'b.cpp': 'int b() { return 2; }\n',
        'c.cpp': 'namespace {\nusing Cell = long;\n}\nint c() { return Cell{3}; }\n',
        'main.cpp': '#include <string>\nstd::string a();\nint b();\nint c();\nint main() { return b() + c() - 5; }\n',
    }

    def project(self, top, groups):
        (top / 'cmake').mkdir()
        shutil.copy(ROOT / 'cmake' / 'UnityGroups.cmake', top / 'cmake')
        write_groups(top, groups)
        for name, text in self.SOURCES.items():
            (top / name).write_text(text)
        (top / 'CMakeLists.txt').write_text(
            'cmake_minimum_required(VERSION 3.25)\nproject(U CXX)\nset(CMAKE_UNITY_BUILD ON)\n'
            'set(CMAKE_EXPORT_COMPILE_COMMANDS ON)\ninclude(cmake/UnityGroups.cmake)\n'
            'add_executable(prog a.cpp b.cpp c.cpp main.cpp)\norvex_unity_groups()\n')

    def build(self, top):
        build = top / 'build'
        env = dict(os.environ, CXX='clang++')
        for command in (['cmake', '-S', str(top), '-B', str(build), '-G', 'Ninja'], ['cmake', '--build', str(build)]):
            done = subprocess.run(command, capture_output=True, text=True, env=env)
            if done.returncode != 0:
                return done.returncode, done.stdout + done.stderr
        return 0, ''

    def test_a_new_source_compiles_alone(self):
        with tempfile.TemporaryDirectory() as top:
            top = pathlib.Path(top)
            self.project(top, ['prog.0 a.cpp', 'prog.0 b.cpp', 'prog.1 main.cpp'])
            self.assertEqual(self.build(top), (0, ''))
            units = sorted((top / 'build').glob('CMakeFiles/prog.dir/Unity/*.cxx'))
            self.assertEqual([u.name for u in units], ['unity_prog.0_cxx.cxx', 'unity_prog.1_cxx.cxx'])
            self.assertEqual((top / 'build' / 'unity_sources.txt').read_text(),
                             'T prog a.cpp b.cpp c.cpp main.cpp\n')
            # The same sources batched in their order put c beside a, and the build fails.
            write_groups(top, ['prog.0 a.cpp', 'prog.0 b.cpp', 'prog.0 c.cpp', 'prog.1 main.cpp'])
            rc, out = self.build(top)
            self.assertNotEqual(rc, 0)
            self.assertIn('Cell', out)

    def test_compiles_alone_check(self):
        with tempfile.TemporaryDirectory() as top:
            top = pathlib.Path(top)
            self.SOURCES = dict(self.SOURCES, **{'b.cpp': 'std::string b2() { return "b"; }\nint b() { return 2; }\n'})
            self.project(top, ['prog.0 a.cpp', 'prog.0 b.cpp', 'prog.1 main.cpp'])
            self.assertEqual(self.build(top), (0, ''))  # b uses the string a included
            rc, out = run(ROOT / 'scripts' / 'check_compiles_alone.py', top / 'build')
            self.assertEqual(rc, 1, out)
            self.assertIn(f'{top / "b.cpp"} does not compile alone:', out)
            self.assertIn('1 sources (past the first of their unit) compiled alone', out)
            (top / 'b.cpp').write_text('#include <string>\n' + (top / 'b.cpp').read_text())
            rc, out = run(ROOT / 'scripts' / 'check_compiles_alone.py', top / 'build')
            self.assertEqual(rc, 0, out)


if __name__ == '__main__':
    unittest.main()
