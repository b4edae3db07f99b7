#!/usr/bin/env python3
"""Fails when two sources of one program or library define the same file-local name.

    scripts/check_file_local_names.py SOURCES_MANIFEST [ROOT]
    scripts/check_file_local_names.py --names FILE.cpp   (what one file defines file-locally)

The test build and the player's build compile a target's sources several to a unit
(cmake/UnityGroups.cmake). Names a source keeps to itself -- what its anonymous namespaces hold,
`static` functions and variables, constants, type aliases and classes defined at namespace scope --
meet the names of the other sources of its unit: the same name twice is a compile error, and a
function of the same name in another file silently joins the overload set (a call with int
arguments binds to the other file's `rect(int, ...)`). Groups may be formed anew at any time, so
no two sources of one target may define one such name in one namespace, whatever unit they share.

SOURCES_MANIFEST is written when the project is configured: lines "T target source..." with the
sources' paths from the top of the tree. Each pair found is one line naming both files and lines;
the exit status is 1 when there is any.

The reading is lexical, for this tree's own style: comments, strings and preprocessor lines are
skipped, braces are followed, and a declaration at namespace scope is judged by its words.
"""
import re
import sys
from collections import defaultdict

IDENT = re.compile(r"[A-Za-z_][A-Za-z_0-9]*")
CLASS_KEYS = {"class", "struct", "union", "enum"}
# Words a declaration starts with that are no part of its name.
SPECIFIERS = {
    "static", "inline", "constexpr", "constinit", "consteval", "const", "volatile", "extern",
    "thread_local", "mutable", "typename", "unsigned", "signed", "long", "short", "virtual",
    "explicit", "friend", "register", "noexcept", "override", "final", "alignas", "decltype",
    "template", "requires", "auto", "operator", "sizeof", "return", "new", "delete", "this",
}


def strip(text):
    """The text with comments, string and character literals blanked (lines kept) and the
    preprocessor lines removed."""
    out = []
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start:
            j = i
            while j < n and text[j] in " \t":
                j += 1
            if j < n and text[j] == "#":
                # A preprocessor line, with its continuations.
                while j < n and text[j] != "\n":
                    if text[j] == "\\" and j + 1 < n and text[j + 1] == "\n":
                        out.append("\n")
                        j += 2
                        continue
                    if text.startswith("/*", j):
                        end = text.find("*/", j + 2)
                        end = n if end < 0 else end + 2
                        out.append("\n" * text.count("\n", j, end))
                        j = end
                        continue
                    j += 1
                i = j
                continue
        line_start = False
        if c == "\n":
            out.append(c)
            line_start = True
            i += 1
        elif text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("\n" * text.count("\n", i, end))
            out.append(" ")
            i = end
        elif c == "R" and i + 1 < n and text[i + 1] == '"' and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_") or text[i - 1] in "LuU8"):
            m = re.compile(r'R"([^ ()\\\t\n]{0,16})\(').match(text, i)
            if not m:
                out.append(c)
                i += 1
                continue
            end = text.find(")" + m.group(1) + '"', m.end())
            end = n if end < 0 else end + len(m.group(1)) + 2
            out.append('""' + "\n" * text.count("\n", i, end))
            i = end
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                i += 1  # a digit separator (1'000)
                continue
            j = i + 1
            while j < n and text[j] != c:
                if text[j] == "\\":
                    j += 1
                elif text[j] == "\n":
                    break
                j += 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


TOKEN = re.compile(r"[A-Za-z_][A-Za-z_0-9]*|::|\d[\w.']*|\S")


def tokens(text):
    """(token, line) pairs of the stripped text."""
    result = []
    for number, line in enumerate(text.split("\n"), 1):
        for m in TOKEN.finditer(line):
            result.append((m.group(0), number))
    return result


def declarators(toks):
    """The declarators of a variable declaration, each cut at its initialiser: commas inside
    brackets, template arguments and initialisers do not cut."""
    parts, cur, depth, initialiser = [], [], 0, False
    for t in toks:
        w = t[0]
        if w in ("(", "[", "{") or (w == "<" and not initialiser):
            depth += 1
        elif w in (")", "]", "}") or (w == ">" and not initialiser):
            depth -= 1
        elif w == ">>" and not initialiser:
            depth -= 2
        if w == "," and depth == 0:
            parts.append(cur)
            cur, initialiser = [], False
            continue
        if w == "=" and depth == 0:
            initialiser = True
        if not initialiser:
            cur.append(t)
    parts.append(cur)
    return parts


def skip_template_head(toks):
    """The declaration without its leading `template <...>` heads and attributes."""
    i = 0
    while i < len(toks):
        if toks[i][0] == "template" and i + 1 < len(toks) and toks[i + 1][0] == "<":
            depth, i = 0, i + 1
            while i < len(toks):
                if toks[i][0] == "<":
                    depth += 1
                elif toks[i][0] == ">":
                    depth -= 1
                    if depth == 0:
                        break
                elif toks[i][0] == ">>":
                    depth -= 2
                i += 1
            i += 1
        elif toks[i][0] == "[" and i + 1 < len(toks) and toks[i + 1][0] == "[":
            while i < len(toks) and not (toks[i][0] == "]" and i + 1 < len(toks) and toks[i + 1][0] == "]"):
                i += 1
            i += 2
        else:
            break
    return toks[i:]


def before_paren(toks):
    """The tokens before the first top-level "(" (the declarator of a function), or None."""
    depth = 0
    for i, t in enumerate(toks):
        if t[0] == "<":
            depth += 1
        elif t[0] == ">":
            depth -= 1
        elif t[0] == "(" and depth <= 0:
            return toks[:i]
        elif t[0] in ("=", "{"):
            return None
    return None


def constructed(toks):
    """Whether "(...)" after a declarator holds values (a variable made by a constructor) rather
    than parameters (a function's prototype)."""
    return any(t[0][0].isdigit() or t[0] in ('"', "'", "true", "false", "nullptr") for t in toks)


def declared_names(head, has_body, anonymous):
    """(name, line, kind) of what a namespace-scope declaration defines file-locally; `head` is its
    tokens up to its body or end, `has_body` whether a brace block followed."""
    toks = skip_template_head(head)
    if not toks:
        return []
    words = [t[0] for t in toks]
    first = words[0]
    if first == "using":
        # using X = ...;  (a using-declaration or -directive defines nothing of its own)
        if len(words) >= 3 and IDENT.fullmatch(words[1]) and words[2] == "=":
            return [(words[1], toks[1][1], "alias " + " ".join(words[3:]))]
        return []
    if first == "namespace":
        # namespace fs = std::filesystem;
        if len(words) >= 3 and words[2] == "=":
            return [(words[1], toks[1][1], "alias " + " ".join(words[3:]))]
        return []
    if first == "typedef":
        paren = [i for i, t in enumerate(toks) if t[0] == "("]
        if paren and len(toks) > paren[0] + 2 and toks[paren[0] + 1][0] == "*":
            name = toks[paren[0] + 2]  # typedef R (*Name)(...);
        else:
            idents = [t for t in toks if IDENT.fullmatch(t[0]) and t[0] not in SPECIFIERS]
            if not idents:
                return []
            name = idents[-1]
        return [(name[0], name[1], "alias " + " ".join(w for w in words[1:] if w != name[0]))]
    if first in ("static_assert", "extern") and not anonymous:
        return []
    # Macro invocations at namespace scope (TEST_F(...) {...}, INSTANTIATE_...): their names are
    # the framework's, with external linkage.
    if IDENT.fullmatch(first) and first.isupper() and len(words) > 1 and words[1] == "(":
        return []
    storage_static = "static" in words[:words.index("(")] if "(" in words else "static" in words
    # class Name { ... }  /  enum class Name : int { ... }
    stripped = [w for w in words if w not in ("static", "inline", "constexpr", "const")]
    if stripped and stripped[0] in CLASS_KEYS:
        if not has_body and "(" not in words and "=" not in words:
            if len(stripped) == 2 or (len(stripped) >= 3 and stripped[2] == ";"):
                return []  # a forward declaration
        k = 1
        if k < len(stripped) and stripped[k] in ("class", "struct"):
            k += 1  # enum class
        while k < len(stripped) and stripped[k] in ("alignas",):
            k += 1
        qualified = k + 1 < len(stripped) and stripped[k + 1] == "::"
        result = []
        if k < len(stripped) and IDENT.fullmatch(stripped[k]) and stripped[k] not in SPECIFIERS and not qualified:
            line = next(t[1] for t in toks if t[0] == stripped[k])
            if has_body:
                result.append((stripped[k], line, "class"))
        # struct { ... } shared;  (variables of the class, declared after its body)
        body = next((i for i, t in enumerate(toks) if t[0] == "{}"), None)
        if body is not None and (anonymous or "static" in words):
            result.extend((t[0], t[1], "variable") for t in toks[body + 1:] if IDENT.fullmatch(t[0]))
        return result
    decl = before_paren(toks)
    if decl is not None:
        # A function: the name is the identifier before "(", unless it is qualified (a member or
        # a name of another namespace defined here).
        if not decl:
            return []
        name = decl[-1]
        if not IDENT.fullmatch(name[0]) or name[0] in SPECIFIERS:
            return []
        if len(decl) >= 2 and decl[-2][0] in ("::", "~"):
            return []
        if len(decl) == 1:
            return []  # a call or a macro
        if not has_body and not constructed(toks[len(decl):]):
            return []  # a prototype; its definition is counted
        if anonymous or storage_static or "inline" in words or "constexpr" in words:
            if not has_body:
                return [(name[0], name[1], "variable")]
            return [(name[0], name[1], "function", [t[0] for t in toks[len(decl):] if IDENT.fullmatch(t[0])])]
        return []
    # A variable (or several): names before "=", "{", "[" or the end, each declarator.
    internal = anonymous or "static" in words or (("const" in words or "constexpr" in words)
                                                  and "extern" not in words and "inline" not in words)
    if not internal:
        return []
    result = []
    for part in declarators(toks):
        idents, depth, qualified, previous = [], 0, False, ""
        for t in part:
            if t[0] in ("{", "[", "(") and depth == 0:
                break
            if t[0] == "<":
                depth += 1
            elif t[0] == ">":
                depth -= 1
            elif depth == 0 and IDENT.fullmatch(t[0]) and t[0] not in SPECIFIERS:
                idents.append(t)
                qualified = previous == "::"
            previous = t[0]
        if qualified:
            continue  # a member or another namespace's name, defined here
        if len(idents) >= 2 or (idents and result):
            result.append((idents[-1][0], idents[-1][1], "variable"))
    return result


def file_local_names(text):
    """(namespace path, name, line, kind) of every file-local definition of a source file."""
    toks = tokens(strip(text))
    found = []
    # Scope stack: ("ns", path part, anonymous) for namespaces, ("block",) for anything else.
    stack = []
    head = []
    pending = None  # (whether the declaration goes on after its body, its head)

    def path():
        return "::".join(s[1] for s in stack if s[0] == "ns" and s[1])

    def anonymous():
        return any(s[0] == "ns" and s[2] for s in stack)

    def at_ns():
        return all(s[0] == "ns" for s in stack)

    def declare(h, has_body):
        for d in declared_names(h, has_body, anonymous()):
            found.append((path(), d[0], d[1], d[2], d[3] if len(d) > 3 else []))

    for tok in toks:
        t = tok[0]
        if not at_ns():
            # Inside a body: follow the braces only.
            if t == "{":
                stack.append(("block",))
            elif t == "}":
                stack.pop()
                if at_ns() and pending is not None:
                    goes_on, h = pending
                    pending = None
                    if goes_on:
                        head = h + [("{}", tok[1])]
                    else:
                        declare(h, True)
                        head = []
            continue
        if t == "{":
            words = [x[0] for x in head]
            if words[:1] == ["namespace"] or words[:2] == ["inline", "namespace"]:
                name = "".join(w for w in words if w not in ("namespace", "inline"))
                stack.append(("ns", name, not name))
            elif words[:1] == ["extern"]:
                stack.append(("ns", "", False))  # extern "C" { ... }
            else:
                # A body: a class (or an initialiser) goes on to ";" after its "}", a function or
                # a macro's block does not.
                top = [x[0] for x in skip_template_head(head)]
                plain = [w for w in top if w not in ("static", "inline", "constexpr", "const")]
                pending = (bool(plain and plain[0] in CLASS_KEYS) or "=" in top, head)
                stack.append(("block",))
            head = []
        elif t == "}":
            if stack:
                stack.pop()  # the end of a namespace
            head = []
        elif t == ";":
            if head:
                declare(head, any(x[0] == "{}" for x in head))
            head = []
        else:
            head.append(tok)
    return found


def main(argv):
    if len(argv) < 2 or argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if len(argv) >= 2 else 2
    if argv[1] == "--names":
        for f in argv[2:]:
            with open(f, encoding="utf-8", errors="replace") as fh:
                for ns, name, line, kind, _ in file_local_names(fh.read()):
                    print(f"{f}:{line}: {kind} {ns + '::' if ns else ''}{name}")
        return 0
    manifest = argv[1]
    root = argv[2] if len(argv) > 2 else "."
    targets = defaultdict(list)
    with open(manifest, encoding="utf-8") as fh:
        for line in fh:
            parts = line.split()
            if len(parts) >= 2 and parts[0] == "T":
                targets[parts[1]].extend(parts[2:])
    cache = {}
    problems = []
    for target, sources in sorted(targets.items()):
        seen = {}
        for src in sorted(set(sources)):
            if not src.endswith((".cpp", ".cc", ".cxx", ".c")):
                continue
            if src not in cache:
                with open(f"{root}/{src}", encoding="utf-8", errors="replace") as fh:
                    cache[src] = file_local_names(fh.read())
            own_classes = {name for _, name, _, kind, _ in cache[src] if kind == "class"}
            for ns, name, line, kind, words in cache[src]:
                # An overload for a class of its own file (PrintTo of a test's case) meets no other.
                if kind == "function" and own_classes.intersection(words):
                    continue
                key = (ns, name)
                if key in seen and seen[key][0] != src:
                    other, oline, okind = seen[key]
                    if kind.startswith("alias") and kind == okind:
                        continue  # the same alias again is allowed
                    problems.append(f"{target}: {ns + '::' if ns else ''}{name} is defined file-locally in "
                                    f"{other}:{oline} and {src}:{line}")
                else:
                    seen.setdefault(key, (src, line, kind))
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} name(s) defined in two sources of one target: give each a name of its "
              "own file, or share one in a header (CONTRIBUTING.md, Files and names)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
