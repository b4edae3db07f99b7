#!/usr/bin/env python3
"""Proves that every source of a unity build compiles alone: each source of each unit but the
first (which the unit's own compile proves), with its unit's command (its flags, definitions and
precompiled header) and -fsyntax-only.

    scripts/check_compiles_alone.py BUILD [-j JOBS]

BUILD is a configured and built build folder whose compile_commands.json lists the units
(CMake's Unity/unity_*.c*). A source that compiles only beside the sources before it in its unit
(it uses a header another one included, or another file's helper) fails here with the compiler's
own errors. The precompiled header a test program's sources are built with is theirs alone too, so
it is kept. Each failure prints the source and the compiler's first lines; the exit status is 1
when any failed. The checks run at the lowest priority, JOBS at a time (all cores by default).
"""
import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys
import time

INCLUDE = re.compile(r'^#include "([^"]+)"', re.M)


def alone_commands(build):
    """(source, arguments, directory) for every source of every unit."""
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as fh:
        entries = json.load(fh)
    result = []
    seen = set()
    for entry in entries:
        unit = entry["file"]
        if "/Unity/unity_" not in unit:
            continue
        with open(unit, encoding="utf-8") as fh:
            sources = INCLUDE.findall(fh.read())
        args = entry.get("arguments") or shlex.split(entry["command"])
        base = []
        skip = 0
        for a in args:
            if skip:
                skip -= 1
                continue
            if a in ("-o", "-MF", "-MT", "-MQ"):
                skip = 1
                continue
            if a in ("-c", "-MD", "-MMD") or a == unit:
                continue
            base.append(a)
        # The unit's first source sees nothing but what it includes itself: the build proved it.
        for src in sources[1:]:
            key = (src, tuple(base))
            if key in seen:
                continue
            seen.add(key)
            result.append((src, base + ["-fsyntax-only", src], entry["directory"]))
    return result


def check(item):
    src, args, directory = item
    start = time.monotonic()
    done = subprocess.run(args, cwd=directory, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, errors="replace", preexec_fn=lambda: os.nice(19))
    return src, done.returncode, done.stdout, time.monotonic() - start


def main(argv):
    if len(argv) < 2 or argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if len(argv) >= 2 else 2
    build = argv[1]
    jobs = os.cpu_count() or 2
    if len(argv) >= 4 and argv[2] == "-j":
        jobs = int(argv[3])
    elif len(argv) != 2:
        print("check_compiles_alone.py: takes BUILD [-j JOBS] (see --help)", file=sys.stderr)
        return 2
    items = alone_commands(build)
    if not items:
        print(f"check_compiles_alone.py: no unity build in {build} (compile_commands.json lists no unit)")
        return 1
    failed = []
    start = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for src, rc, out, seconds in pool.map(check, items):
            if rc != 0:
                failed.append(src)
                lines = out.splitlines()
                print(f"{src} does not compile alone:")
                print("\n".join("    " + line for line in lines[:20]))
                if len(lines) > 20:
                    print(f"    ... {len(lines) - 20} more lines")
    print(f"{len(items)} sources (past the first of their unit) compiled alone in {time.monotonic() - start:.0f} s, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
