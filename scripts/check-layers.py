#!/usr/bin/env python3
"""Rejects includes that run up the layers, and files that include each other in a loop.

A file's layer is its first folder under src/ (src/win belongs to common; src/main.cpp stands above all).
The layers and what each may use mirror QV_LAYERS in CMakeLists.txt. Prints one line per fault; exits 1
when there is any."""
import os
import re
import sys

LAYERS = {
    "common": [],
    "settings": ["common"],
    "logs": ["settings"],
    "estimate": ["logs"],
    "engine": ["logs"],
    "queue": ["engine"],
    "app": ["queue", "estimate"],
    "ui": ["app"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def usable(layer):
    """The layer itself and every layer below it."""
    seen, todo = set(), [layer]
    while todo:
        current = todo.pop()
        if current not in seen:
            seen.add(current)
            todo.extend(LAYERS[current])
    return seen


def layer_of(relative):
    first = relative.split("/")[0]
    if first == "win":
        return "common"
    if first == "main.cpp":
        return "main"
    return first if first in LAYERS else None


def main():
    src = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    src = os.path.normpath(src)
    graph = {}
    faults = []
    for folder, _, names in os.walk(src):
        for name in names:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, src).replace(os.sep, "/")
            with open(path, encoding="utf-8") as f:
                included = INCLUDE.findall(f.read())
            graph[relative] = [i for i in included if "/" in i]
            layer = layer_of(relative)
            if layer is None:
                faults.append(f"src/{relative}: lies in no layer")
                continue
            allowed = set(LAYERS) if layer == "main" else usable(layer)
            for target in graph[relative]:
                target_layer = layer_of(target)
                if target_layer not in allowed:
                    faults.append(f"src/{relative}: includes {target} ({layer} may not use {target_layer})")
    # Loops among the files' includes: a depth-first walk that meets a file still on its path.
    state = {}

    def walk(node, path):
        state[node] = "open"
        for target in graph.get(node, []):
            if state.get(target) == "open":
                loop = path[path.index(target):] + [target]
                faults.append("include loop: " + " -> ".join(loop))
            elif target in graph and target not in state:
                walk(target, path + [target])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            walk(node, [node])
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
