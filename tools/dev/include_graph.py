#!/usr/bin/env python3
"""Checks the layering of the library sources under src/.

Each folder has a rank; a file may include only from its own rank or below:

    rank 0  core/, and platform/'s contract headers (platform.h, seam.h)
    rank 1  scene/, services/
    rank 2  render/
    rank 3  app/

A backend (platform/<target>/) includes only its own folder, the contract and
core/. Besides the ranks:
  - GLUT is called only in app/ and the backends,
  - OpenGL only in render/, app/ and the backends,
  - OS and window-system headers, and #if _WIN32, only in the backends,
  - no include cycle between modules (a header and its .cpp are one module).
Prints the ranks and every fault; exits 1 when there is one.
    tools/dev/include_graph.py [src folder]
    tools/dev/include_graph.py --planted [src folder]   plants one fault of each
        kind in a copy of the tree and exits 1 unless every one is caught
"""
import os
import re
import shutil
import sys
import tempfile

RANKS = {"core": 0, "platform": 0, "scene": 1, "services": 1, "render": 2, "app": 3}
OPENGL_FOLDERS = ("render", "app")
GLUT_FOLDERS = ("app",)
# Headers that tie code to one system.
OS_HEADER = re.compile(
    r"^(windows\.h|winsock2?\.h|mmsystem\.h|io\.h|X11/.*|GL/glx\.h|unistd\.h|pthread\.h|dirent\.h|"
    r"dlfcn\.h|strings\.h|sys/.*|SDL.*|fontconfig/.*|ft2build\.h|iconv\.h|emscripten.*)$")
GLUT_HEADER = re.compile(r"^GL/(freeglut.*|glut)\.h$")
OPENGL_HEADER = re.compile(r"^(GL/(gl|glu|glext)\.h|render/gl\.h)$")
GLUT_CALL = re.compile(r"\bglut[A-Z]\w*\s*\(")
OPENGL_CALL = re.compile(r"\bglu?[A-Z]\w*\s*\(")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')
WIN32_TEST = re.compile(r"^\s*#\s*(if|elif|ifdef|ifndef)\b.*_WIN32")


def place(relative):
    """(folder, backend) of a path under src/: backend is the target's name
    for files of platform/<target>/, else None."""
    parts = relative.split("/")
    if parts[0] == "platform" and len(parts) > 2:
        return "platform", parts[1]
    return parts[0], None


def strip_comments(line, in_block):
    """The code of a line without // and /* */ comments and string literals."""
    code, i = "", 0
    while i < len(line):
        if in_block:
            end = line.find("*/", i)
            if end < 0:
                return code, True
            i, in_block = end + 2, False
        elif line.startswith("//", i):
            break
        elif line.startswith("/*", i):
            in_block, i = True, i + 2
        elif line[i] == '"':
            end = i + 1
            while end < len(line) and line[end] != '"':
                end += 2 if line[end] == "\\" else 1
            code, i = code + '""', end + 1
        else:
            code, i = code + line[i], i + 1
    return code, in_block


def check(root):
    """Returns (modules, faults): the module graph and the list of faults."""
    graph, faults = {}, []
    for directory, _, files in os.walk(root):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(directory, name)
            relative = os.path.relpath(path, root).replace(os.sep, "/")
            folder, backend = place(relative)
            if folder not in RANKS:
                faults.append(f"{relative}: folder {folder}/ has no rank")
                continue
            module = os.path.splitext(relative)[0]
            edges = graph.setdefault(module, set())
            portable = backend is None and folder != "platform"
            in_block = False
            with open(path, encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    where = f"{relative}:{number}"
                    if backend is None and WIN32_TEST.match(line):
                        faults.append(f"{where}: #if _WIN32 outside a backend")
                    match = INCLUDE.match(line)
                    code, in_block = strip_comments(line, in_block)
                    if not match:
                        if portable and folder not in GLUT_FOLDERS and GLUT_CALL.search(code):
                            faults.append(f"{where}: GLUT called outside app/")
                        elif portable and folder not in OPENGL_FOLDERS and OPENGL_CALL.search(code):
                            faults.append(f"{where}: OpenGL called outside render/ and app/")
                        continue
                    header = match.group(1)
                    if backend is None and OS_HEADER.match(header):
                        faults.append(f"{where}: OS header {header} outside a backend")
                    if portable and GLUT_HEADER.match(header) and folder not in GLUT_FOLDERS:
                        faults.append(f"{where}: GLUT header {header} outside app/")
                    if portable and OPENGL_HEADER.match(header) and folder not in OPENGL_FOLDERS:
                        faults.append(f"{where}: OpenGL header {header} outside render/ and app/")
                    target_folder, target_backend = place(header)
                    if target_folder not in RANKS or "/" not in header:
                        continue  # a system or public header
                    target = os.path.splitext(header)[0]
                    if target != module:
                        edges.add(target)
                    if backend is not None:
                        if target_backend not in (None, backend) or target_folder not in ("core", "platform"):
                            faults.append(f"{where}: backend {backend} includes {header}")
                    elif target_backend is not None:
                        faults.append(f"{where}: portable code includes the backend header {header}")
                    elif RANKS[target_folder] > RANKS[folder]:
                        faults.append(f"{where}: upward include of {header} (rank {RANKS[target_folder]}) "
                                      f"from {folder}/ (rank {RANKS[folder]})")
    for module in graph:
        graph[module] &= set(graph)
    return graph, faults


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


# One planted line per rule, and what the check must say about it.
PLANTED = [
    ("scene/texts.cpp", '#include "app/window.h"', "upward include of app/window.h"),
    ("core/paths.cpp", '#include "scene/objects.h"', "upward include of scene/objects.h"),
    ("services/input.cpp", "void planted() { glutPostRedisplay(); }", "GLUT called outside app/"),
    ("render/frame.cpp", "#include <GL/freeglut.h>", "GLUT header GL/freeglut.h outside app/"),
    ("scene/images.cpp", "void planted() { glClear(0); }", "OpenGL called outside render/ and app/"),
    ("core/lock.cpp", "#include <windows.h>", "OS header windows.h outside a backend"),
    ("core/settings.cpp", "#ifdef _WIN32\n#endif", "#if _WIN32 outside a backend"),
    ("platform/win32/files.cpp", '#include "platform/linux/text.h"', "backend win32 includes"),
]


def planted(root):
    """1 unless every planted fault is reported, each in a fresh copy."""
    missed = 0
    for relative, line, expected in PLANTED:
        with tempfile.TemporaryDirectory() as temporary:
            copy = os.path.join(temporary, "src")
            shutil.copytree(root, copy)
            with open(os.path.join(copy, relative), "a", encoding="utf-8") as source:
                source.write("\n" + line + "\n")
            caught = any(expected in fault for fault in check(copy)[1])
            print(f"{'caught' if caught else 'MISSED'}: {expected} ({relative})")
            missed += not caught
    return 1 if missed else 0


def main():
    arguments = sys.argv[1:]
    plant = arguments[:1] == ["--planted"]
    if plant:
        arguments = arguments[1:]
    root = arguments[0] if arguments else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src")
    if plant:
        return planted(root)
    graph, faults = check(root)
    faults += ["cycle: " + " -> ".join(cycle) for cycle in cycles(graph)]
    for rank in sorted(set(RANKS.values())):
        folders = [f for f, r in RANKS.items() if r == rank]
        count = sum(1 for m in graph if m.split("/")[0] in folders and not
                    (m.startswith("platform/") and m.count("/") > 1))
        print(f"rank {rank}: {', '.join(f + '/' for f in folders)} ({count} modules)")
    backends = sorted({m.split("/")[1] for m in graph if m.startswith("platform/") and m.count("/") > 1})
    for backend in backends:
        print(f"backend {backend}: {sum(1 for m in graph if m.startswith(f'platform/{backend}/'))} modules")
    for fault in faults:
        print(fault)
    print(f"{len(graph)} modules, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
