#!/usr/bin/env python3
"""Counts that show how the application and rendering code hang together:
references to a global application object from app/, public data members of
EditorApp and Renderer, include circles among the files of app/ (a header
and its source taken as one unit), and the largest file of app/ and render/.
Run from the tree's root: python3 scripts/structure-counts.py"""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else "."


def files(folder, suffixes=(".h", ".cpp")):
    base = os.path.join(ROOT, folder)
    return sorted(os.path.join(base, n) for n in os.listdir(base) if n.endswith(suffixes))


def text(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def global_app_references():
    # The object exists as a global only while some file declares it so.
    declared = any(re.search(r"^\s*extern\s+EditorApp\s+app\s*;", text(p), re.M)
                   for p in files("app"))
    if not declared:
        return 0
    return sum(len(re.findall(r"\bapp\.", text(p))) for p in files("app"))


def public_data_members(header, cls):
    body = text(os.path.join(ROOT, header))
    start = re.search(r"^class\s+%s\b[^;\n]*$" % cls, body, re.M)
    if not start:
        return 0
    access, depth, count = "private", 0, 0
    for line in body[start.end():].splitlines():
        stripped = line.split("//")[0].strip()
        if depth == 1:
            m = re.match(r"(public|private|protected)\s*:", stripped)
            if m:
                access = m.group(1)
            elif (access == "public" and stripped.endswith(";") and "(" not in stripped.split("=")[0]
                  and not re.match(r"(//|static|using|friend|typedef|enum|struct|class|return)", stripped)
                  and not stripped.startswith("}") and "operator" not in stripped):
                count += 1
        depth += line.count("{") - line.count("}")
        if depth < 0 or (depth == 0 and stripped.startswith("};")):
            break
    return count


def include_circles():
    units = {}
    for path in files("app"):
        unit = os.path.splitext(os.path.basename(path))[0]
        for inc in re.findall(r'^#include\s+"app/(\w+)\.h"', text(path), re.M):
            if inc != unit:
                units.setdefault(unit, set()).add(inc)
        units.setdefault(unit, set())
    # Tarjan's strongly connected components.
    index, low, stack, on, out, counter = {}, {}, [], set(), [], [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in units.get(v, ()):
            if w not in units:
                continue
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            part = []
            while True:
                w = stack.pop()
                on.discard(w)
                part.append(w)
                if w == v:
                    break
            if len(part) > 1:
                out.append(sorted(part))

    sys.setrecursionlimit(10000)
    for v in sorted(units):
        if v not in index:
            visit(v)
    return out


def largest(folder):
    sizes = [(len(text(p).splitlines()), os.path.relpath(p, ROOT)) for p in files(folder)]
    return max(sizes)


print("global application object references in app/:", global_app_references())
print("public data members of EditorApp:", public_data_members("app/EditorApp.h", "EditorApp"))
print("public data members of Renderer:", public_data_members("render/Renderer.h", "Renderer"))
circles = include_circles()
print("include circles in app/:", len(circles), *("[%s]" % " ".join(c) for c in circles))
for folder in ("app", "render"):
    lines, name = largest(folder)
    print("largest file of %s/: %s (%d lines)" % (folder, name, lines))
