#!/usr/bin/env python3
"""Checks that the program's includes point one way.

    core   portable file formats and algorithms (no Windows headers)
    win    Win32 services: handles, files, mappings, registry, GDI+
    ui     the dialog framework
    tools  one folder per tool; a tool never includes another tool
    app    process entry, the launcher and its table of tools

A file may include its own layer and the layers below it. The portable tests,
fuzzers and benchmarks see only the core; tidetool sees the core, and on
Windows the Win32 services. Prints every violation and exits 1 when
there is one. `--self-test` checks the checker on a small made-up tree.
"""
import os
import re
import sys
import tempfile

LAYERS = ["core", "win", "ui", "tools", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
# System headers that only Windows has; the core and the portable tests must not need them.
WINDOWS_HEADER = re.compile(
    r"^(windows|win\w*|objbase|objidl|ole2|oleauto|oaidl|ocidl|propidl|unknwn|wtypes|gdiplus|"
    r"shlwapi|shellapi|shlobj|commctrl|commdlg|urlmon|wininet|mmsystem|richedit|uxtheme|dwmapi|"
    r"psapi|tlhelp32|io|direct)\.h$", re.IGNORECASE)
COMMENT = re.compile(r"//[^\n]*|/\*.*?\*/", re.DOTALL)
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".c")


def layer_of(path):
    """(layer, tool folder or None) of a path under src/, or None."""
    parts = path.split("/")
    if parts[0] not in LAYERS:
        return None
    tool = parts[1] if parts[0] == "tools" and len(parts) > 2 else None
    return parts[0], tool


def check_file(root, relative, own, allowed):
    """Violations of one file. `own` is its (layer, tool) under src/; a file
    outside src/ may include only the layers in `allowed`, and Windows
    headers only when "win" is one of them."""
    problems = []
    with open(os.path.join(root, relative), encoding="utf-8", errors="replace") as f:
        # Includes written in comments do not count; the line numbers stay.
        text = COMMENT.sub(lambda m: "\n" * m.group(0).count("\n"), f.read())
    for match in INCLUDE.finditer(text):
        kind, name = match.group(1), match.group(2)
        line = text.count("\n", 0, match.start()) + 1
        where = f"{relative}:{line}: "
        if ".." in name.split("/"):
            problems.append(where + f'"{name}" climbs out of its folder: include from src/ instead')
            continue
        if kind == "<" and layer_of(name) is None:
            portable = own[0] == "core" if own else "win" not in allowed
            if portable and WINDOWS_HEADER.match(name):
                problems.append(where + f"portable code includes the Windows header <{name}>")
            continue
        target = layer_of(name)
        if target is None:
            continue  # a header beside the file, a generated header or a test support header
        if own is None and target[0] not in allowed:
            problems.append(where + f'{relative.split("/")[0]}/ code includes "{name}" from the {target[0]} layer')
        elif own is not None:
            if LAYERS.index(target[0]) > LAYERS.index(own[0]):
                problems.append(where + f'the {own[0]} layer includes "{name}" from the {target[0]} layer above it')
            elif own[0] == "tools" and target[0] == "tools" and own[1] != target[1]:
                problems.append(where + f'the tool "{own[1]}" includes "{name}" of the tool "{target[1]}"')
    return problems


def check_tree(root):
    problems = []
    for top, allowed in (("src", None), ("tools/tidetool", {"core", "win"}),
                         ("tools/ime-peer", {"core", "win"}), ("tests/core", {"core"}),
                         ("tests/fuzz", {"core"}), ("tests/bench", {"core"})):
        base = os.path.join(root, top)
        for folder, _, files in os.walk(base):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                relative = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
                own = layer_of(relative[len("src/"):]) if top == "src" else None
                if top == "src" and own is None:
                    problems.append(f"{relative}: lies outside the layer folders {', '.join(LAYERS)}")
                    continue
                problems += check_file(root, relative, own, allowed)
    return problems


def self_test():
    cases = {
        "src/core/a/A.h": ('#include "win/Handles.h"\n', "the core layer includes"),
        "src/core/b/B.cpp": ("#include <windows.h>\n", "Windows header"),
        "src/ui/Dialog.cpp": ('#include "tools/about/About.h"\n', "the ui layer includes"),
        "src/tools/one/One.cpp": ('#include "tools/two/Two.h"\n', 'the tool "one" includes'),
        "tests/core/T.cpp": ('#include "ui/Dialog.h"\n', "tests/ code includes"),
        "tests/core/U.cpp": ("#include <gdiplus.h>\n", "Windows header"),
        "tools/tidetool/T.cpp": ('#include "ui/Controls.h"\n', "tools/ code includes"),
        "src/stray/S.cpp": ("\n", "outside the layer folders"),
        "src/core/c/C.h": ("#include <ui/Dialog.h>\n", "the core layer includes"),
        "src/win/W.cpp": ('#include "../ui/Dialog.h"\n', "climbs out"),
    }
    fine = {
        "src/app/Main.cpp": '#include "tools/one/One.h"\n#include "ui/Dialog.h"\n#include <windows.h>\n',
        "src/tools/one/One.cpp": '#include "tools/one/One.h"\n#include "win/Handles.h"\n',
        "src/win/Handles.h": '#include "core/base/ByteIo.h"\n#include <windows.h>\n'
                             '// #include "ui/Dialog.h" in a comment\n',
        "tools/tidetool/Io.cpp": '#include "win/FileAccess.h"\n#include <windows.h>\n',
    }
    failures = 0
    for path, (text, expected) in cases.items():
        with tempfile.TemporaryDirectory() as root:
            for fine_path, fine_text in fine.items():
                os.makedirs(os.path.dirname(os.path.join(root, fine_path)), exist_ok=True)
                with open(os.path.join(root, fine_path), "w") as f:
                    f.write(fine_text)
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), "a") as f:
                f.write(text)
            found = check_tree(root)
            if len(found) != 1 or expected not in found[0]:
                print(f"self-test: {path} gave {found}, expected one problem with '{expected}'")
                failures += 1
    print(f"self-test: {len(cases) - failures} passed, {failures} failed")
    return 1 if failures else 0


def main():
    if sys.argv[1:2] == ["--self-test"]:
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    problems = check_tree(root)
    for problem in problems:
        print(problem)
    print(f"layers: {len(problems)} include(s) pointing the wrong way")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
