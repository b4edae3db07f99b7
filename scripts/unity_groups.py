#!/usr/bin/env python3
"""Keeps cmake/unity_groups.txt, the fixed groups the unity builds compile sources in.

    scripts/unity_groups.py --check BUILD    fails on a source in no group or a group line of a
                                             file that is gone
    scripts/unity_groups.py --update BUILD   puts the sources in no group into new groups and
                                             drops the lines of files that are gone

BUILD is a configured build folder (its unity_sources.txt names every target's sources; any build
type writes it). A group holds the sources of one target that are compiled as one unit
(cmake/UnityGroups.cmake). --update never adds a source to an existing group, so no unit that
compiled before changes: a target's new sources form groups of their own, up to eight a group,
named after the target. Reconfigure (any cmake --build does) to use them.
"""
import os
import re
import sys
from collections import defaultdict

GROUP_SIZE = 8
HEADER = """\
# The unity builds' fixed groups: "GROUP SOURCE", the source's path from the top of the tree.
# A group's sources are compiled as one unit (cmake/UnityGroups.cmake); a source in no group is
# compiled alone. scripts/unity_groups.py --update BUILD adds new sources in groups of their own.
"""


def read_groups(path):
    groups = []  # (group, source) in file order
    with open(path, encoding="utf-8") as fh:
        for number, line in enumerate(fh, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            parts = line.split()
            if len(parts) != 2:
                raise SystemExit(f"{path}:{number}: \"{line}\" is not \"GROUP SOURCE\"")
            groups.append((parts[0], parts[1]))
    return groups


def read_targets(build):
    targets = {}
    path = os.path.join(build, "unity_sources.txt")
    if not os.path.exists(path):
        raise SystemExit(f"unity_groups.py: {path} is missing: configure {build} first")
    with open(path, encoding="utf-8") as fh:
        for line in fh:
            parts = line.split()
            if len(parts) >= 2 and parts[0] == "T":
                targets[parts[1]] = parts[2:]
    return targets


def wanted(targets):
    """target -> its sources that need a group (targets of several sources)."""
    return {t: s for t, s in targets.items() if len(set(s)) > 1}


def main(argv):
    if len(argv) < 2 or argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if len(argv) >= 2 else 2
    if len(argv) != 3 or argv[1] not in ("--check", "--update"):
        print("unity_groups.py: takes --check BUILD or --update BUILD (see --help)", file=sys.stderr)
        return 2
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    manifest = os.path.join(root, "cmake", "unity_groups.txt")
    groups = read_groups(manifest)
    targets = wanted(read_targets(argv[2]))
    grouped = {source for _, source in groups}
    listed = set(grouped)
    gone = [(g, s) for g, s in groups if not os.path.exists(os.path.join(root, s))]
    # A source of several targets goes with the first of them.
    missing = defaultdict(list)
    for target, sources in sorted(targets.items()):
        for source in sorted(set(sources)):
            if source not in grouped:
                grouped.add(source)
                missing[target].append(source)
    twice = sorted({s for s in listed if sum(1 for _, x in groups if x == s) > 1})

    if argv[1] == "--check":
        for g, s in gone:
            print(f"cmake/unity_groups.txt: {s} (group {g}) is gone")
        for s in twice:
            print(f"cmake/unity_groups.txt: {s} is in more than one group")
        for target, sources in missing.items():
            for s in sources:
                print(f"{s} of {target} is in no unity group and compiles alone")
        if gone or twice or missing:
            print("scripts/unity_groups.py --update BUILD mends the groups (new sources go into new groups)")
            return 1
        return 0

    kept = [(g, s) for g, s in groups if (g, s) not in gone]
    seen = set()
    kept = [(g, s) for g, s in kept if not (s in seen or seen.add(s))]
    used = {g for g, _ in kept}
    added = []
    for target, sources in missing.items():
        number = 0
        for start in range(0, len(sources), GROUP_SIZE):
            while f"{target}.{number}" in used:
                number += 1
            name = f"{target}.{number}"
            used.add(name)
            added.extend((name, s) for s in sources[start:start + GROUP_SIZE])
    with open(manifest + ".tmp", "w", encoding="utf-8") as fh:
        fh.write(HEADER)
        for g, s in kept + added:
            fh.write(f"{g} {s}\n")
    os.replace(manifest + ".tmp", manifest)
    print(f"cmake/unity_groups.txt: {len(added)} source(s) added in new groups, {len(gone)} line(s) of files gone dropped")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
