"""The command line the scripts of tools/ share. "--help" (or "-h") prints the script's docstring,
which holds its usage, and ends. Any other word that starts with "-" is refused, so that no script
takes an option for the folder it writes into, and so are more arguments than the script takes:
then the script writes nothing and ends with code 2.

Each script imports this after setting sys.dont_write_bytecode, which keeps tools/ free of
__pycache__ folders.
"""
import os
import sys


def arguments(doc, most, argv=None):
    """The arguments after the script's name (at most `most`), once none of them is an option."""
    argv = sys.argv if argv is None else argv
    name, given = os.path.basename(argv[0]), argv[1:]
    if "--help" in given or "-h" in given:
        print(doc.strip())
        sys.exit(0)
    options = [word for word in given if word.startswith("-")]
    if options:
        problem = f"unknown option {options[0]}"
    elif len(given) > most:
        problem = f"{len(given)} arguments, but it takes at most {most}"
    else:
        return given
    print(f"{name}: {problem} (--help shows its usage)", file=sys.stderr)
    sys.exit(2)
