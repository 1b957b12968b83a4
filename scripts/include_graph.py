#!/usr/bin/env python3
"""Checks the include graph of the programs' own files (not the tests or benchmarks).

A header and the source file of the same name are one unit. Three rules:
  1. no cycle between units;
  2. engine/ includes nothing of operations/;
  3. the layers below the window (common/, engine/, operations/, and the store and preferences files of
     profiles/ and settings/) reach no window code, directly or through other files. Window code is app/
     and every view or command file that a subsystem's folder keeps ("*_view*", "*_commands*").

Prints every violation and exits with 1 when there is one; with --graph it also prints the edges.
Run from anywhere: python3 scripts/include_graph.py [--graph]
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["common", "engine", "operations", "profiles", "settings", "app", "setup"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def unit_of(path):
    return os.path.splitext(path)[0]


def is_window_code(unit):
    folder, name = unit.split("/", 1)
    return folder == "app" or "_view" in name or "_commands" in name


def is_lower(unit):
    folder = unit.split("/", 1)[0]
    if folder in ("common", "engine", "operations"):
        return True
    return folder in ("profiles", "settings") and not is_window_code(unit)


def read_graph():
    edges = {}
    for folder in FOLDERS:
        base = os.path.join(ROOT, folder)
        if not os.path.isdir(base):
            continue
        for dirpath, _, files in os.walk(base):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp", ".c")):
                    continue
                full = os.path.join(dirpath, name)
                rel = os.path.relpath(full, ROOT).replace(os.sep, "/")
                source = unit_of(rel)
                targets = edges.setdefault(source, set())
                with open(full, encoding="utf-8") as f:
                    for line in f:
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = unit_of(m.group(1))
                        if target.split("/", 1)[0] in FOLDERS and target != source:
                            targets.add(target)
    for targets in list(edges.values()):
        for t in targets:
            edges.setdefault(t, set())
    return edges


def find_cycles(edges):
    """Strongly connected components with more than one unit (Tarjan)."""
    index, low, on_stack, stack, components = {}, {}, set(), [], []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                components.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(edges):
        if v not in index:
            visit(v)
    return components


def path_to_window_code(edges, start):
    """The shortest include path from start to a window-code unit, or None."""
    previous = {start: None}
    queue = [start]
    while queue:
        v = queue.pop(0)
        if v != start and is_window_code(v):
            path = [v]
            while previous[path[-1]] is not None:
                path.append(previous[path[-1]])
            return list(reversed(path))
        for w in sorted(edges[v]):
            if w not in previous:
                previous[w] = v
                queue.append(w)
    return None


def main():
    edges = read_graph()
    if "--graph" in sys.argv:
        for v in sorted(edges):
            for w in sorted(edges[v]):
                print(f"{v} -> {w}")
    problems = []
    for component in find_cycles(edges):
        problems.append("include cycle: " + " <-> ".join(component))
    for v in sorted(edges):
        if v.startswith("engine/"):
            for w in sorted(edges[v]):
                if w.startswith("operations/"):
                    problems.append(f"engine includes operations: {v} -> {w}")
        if is_lower(v):
            path = path_to_window_code(edges, v)
            if path:
                problems.append("below the window, reaches window code: " + " -> ".join(path))
    units = len(edges)
    links = sum(len(t) for t in edges.values())
    for p in problems:
        print(p)
    print(f"{units} units, {links} include links, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
