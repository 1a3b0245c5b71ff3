#!/usr/bin/env python3
"""Checks the layering of the library sources.

Prints every include cycle between modules under src/ (a header and its .cpp
count as one module), and every OS or window system header that a portable
folder includes. Exits 1 when there is either.
    tools/include_graph.py [source root]
"""
import os
import re
import sys

FOLDERS = ("core", "scene", "services", "render", "app", "platform")
PORTABLE = ("core", "scene", "services", "render", "app")
# Headers that tie code to one system; the portable core reaches them only
# through platform/platform.h (and GL through render/gl.h).
OS_HEADER = re.compile(
    r"^(windows\.h|winsock2?\.h|mmsystem\.h|X11/.*|GL/glx\.h|unistd\.h|pthread\.h|dirent\.h|"
    r"dlfcn\.h|strings\.h|sys/.*|SDL.*|fontconfig/.*|ft2build\.h|iconv\.h)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')


def modules(root):
    """Maps each module (path without extension) to the modules it includes."""
    graph, os_includes = {}, []
    for folder in FOLDERS:
        for directory, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(directory, name)
                relative = os.path.relpath(path, root)
                module = os.path.splitext(relative)[0]
                edges = graph.setdefault(module, set())
                with open(path, encoding="utf-8") as source:
                    for number, line in enumerate(source, 1):
                        if relative.split(os.sep)[0] in PORTABLE and re.match(r"\s*#\s*(if|elif).*_WIN32", line):
                            os_includes.append(f"{relative}:{number}: {line.strip()}")
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        header = match.group(1)
                        target = os.path.splitext(header)[0]
                        if header.split("/")[0] in FOLDERS and target != module:
                            edges.add(target)
                        if relative.split(os.sep)[0] in PORTABLE and OS_HEADER.match(header):
                            os_includes.append(f"{relative}:{number}: {header}")
    for module in graph:
        graph[module] &= set(graph)
    return graph, os_includes


def cycles(graph):
    """The elementary cycles, each printed once from its smallest module."""
    found = []
    for start in sorted(graph):
        stack = [(start, [start])]
        while stack:
            node, path = stack.pop()
            for nxt in sorted(graph[node]):
                if nxt == start:
                    found.append(path + [start])
                elif nxt > start and nxt not in path:
                    stack.append((nxt, path + [nxt]))
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "src")
    graph, os_includes = modules(root)
    found = cycles(graph)
    for cycle in found:
        print("cycle: " + " -> ".join(cycle))
    for line in os_includes:
        print("OS header in portable code: " + line)
    print(f"{len(graph)} modules, {len(found)} cycles, {len(os_includes)} OS headers in portable code")
    return 1 if found or os_includes else 0


if __name__ == "__main__":
    sys.exit(main())
