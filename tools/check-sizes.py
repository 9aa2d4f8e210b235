#!/usr/bin/env python3
"""Lists the program's files and functions that have grown past their size.

    tools/check-sizes.py [--files N] [--functions N] [FILE...]

A program file (core/, platform/, windows/, app/) wants splitting past 400
code lines, a function past 80; a code line is one that holds more than
blanks and comments. A function is counted from the first line of its
signature to its closing brace; lambdas count with the function that holds
them. Exits 1 when anything is listed, 0 otherwise.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ("core", "platform", "windows", "app")
CONTAINERS = re.compile(r"^\s*(?:template\s*<.*>\s*)?(namespace|class|struct|union|enum|extern)\b", re.S)
QUALIFIERS = ("const", "override", "final", "noexcept", "mutable", "volatile", "try")


def blanked(text, directives=False):
    """The text with comments, the insides of string and character literals
    and (unless `directives`) preprocessor lines turned into spaces, line
    breaks kept."""
    out = []
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#" and not directives:
            # A preprocessor line, with its continuations.
            while i < n and text[i] != "\n":
                if text[i] == "\\" and i + 1 < n and text[i + 1] == "\n":
                    out.append(" \n")
                    i += 2
                    continue
                out.append(" ")
                i += 1
            continue
        if c == "\n":
            line_start = True
            out.append(c)
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                out.append(" ")
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_at = text.find("(", i + 2)
            delim = text[i + 2 : open_at]
            end = text.find(")" + delim + '"', open_at)
            end = n if end < 0 else end + len(delim) + 2
            out.append('R"' + re.sub(r"[^\n]", " ", text[i + 2 : end - 1]) + '"')
            i = end
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + " " * (min(j, n) - i - 1) + (c if j < n else ""))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def without_parens(text):
    """The text with everything inside round brackets taken out."""
    depth, kept = 0, []
    for c in text:
        if c == "(":
            depth += 1
        elif c == ")":
            depth = max(0, depth - 1)
        elif depth == 0:
            kept.append(c)
    return "".join(kept)


def opens_function(head):
    """Whether a brace after `head` (the text since the last statement or
    block at its level) opens the body of a function."""
    if "(" not in head or CONTAINERS.match(head):
        return False
    outside = without_parens(head).replace("operator=", "operator")
    if re.search(r"(?<![=!<>])=(?!=)", outside):
        return False  # an initialised variable, or a lambda held by one
    words = re.findall(r"[\w:>&*]+|\S", head.rstrip())
    last = words[-1] if words else ""
    if last in (")", "}") or last in QUALIFIERS:
        return True
    # A trailing return type: auto f() -> int {
    return "->" in without_parens(head)


def measure(path):
    """(code lines of the file, [(line, name, code lines) of each function])."""
    with open(path, encoding="utf-8") as file:
        text = file.read()
    plain = blanked(text)
    code = [bool(line.strip()) for line in blanked(text, directives=True).split("\n")]
    functions = []
    # Each open brace: ("container" | "function" | "other", where its function started).
    stack = []
    head_start, head = 0, ""
    line = 0
    in_function = lambda: any(kind == "function" for kind, _, _ in stack)
    for at, c in enumerate(plain):
        if c == "\n":
            line += 1
        if in_function():
            if c == "{":
                stack.append(("other", None, None))
            elif c == "}":
                kind, start, name = stack.pop()
                if kind == "function":
                    functions.append((start + 1, name, sum(code[start : line + 1])))
                    head, head_start = "", at + 1
            continue
        if c == "{":
            if opens_function(head):
                first = head_start + len(head) - len(head.lstrip())
                start = plain.count("\n", 0, first)
                name = re.findall(r"((?:[\w:]*operator\s*[^\s(]+)|[~\w:]+)\s*\(", without_parens_first(head))
                stack.append(("function", start, name[0] if name else "?"))
            elif CONTAINERS.match(head) or not head.strip():
                stack.append(("container", None, None))
                head, head_start = "", at + 1
            else:
                stack.append(("other", None, None))
                head += c
        elif c == "}":
            kind = stack.pop()[0] if stack else "container"
            if kind == "other":
                head += c
            else:
                head, head_start = "", at + 1
        elif c == ";" or (c == ":" and re.search(r"\b(public|private|protected|signals|slots)\s*$", head)):
            head, head_start = "", at + 1
        else:
            head += c
    return sum(code), functions


def without_parens_first(head):
    """The head up to and including its first opening bracket."""
    at = head.find("(")
    return head[: at + 1]


def program_files():
    for folder in FOLDERS:
        for place, _, names in os.walk(os.path.join(ROOT, folder)):
            for name in sorted(names):
                if name.endswith((".h", ".cpp")):
                    yield os.path.join(place, name)


def main(argv):
    file_limit, function_limit, paths = 400, 80, []
    args = iter(argv)
    for arg in args:
        if arg == "--files":
            file_limit = int(next(args))
        elif arg == "--functions":
            function_limit = int(next(args))
        else:
            paths.append(os.path.abspath(arg))
    big_files, big_functions = [], []
    for path in paths or sorted(program_files()):
        lines, functions = measure(path)
        where = os.path.relpath(path, ROOT)
        if lines > file_limit:
            big_files.append((lines, where))
        for start, name, length in functions:
            if length > function_limit:
                big_functions.append((length, f"{where}:{start}", name))
    print(f"files over {file_limit} code lines: {len(big_files)}")
    for lines, where in sorted(big_files, reverse=True):
        print(f"  {lines:5}  {where}")
    print(f"functions over {function_limit} code lines: {len(big_functions)}")
    for length, where, name in sorted(big_functions, reverse=True):
        print(f"  {length:5}  {where}  {name}")
    return 1 if big_files or big_functions else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
