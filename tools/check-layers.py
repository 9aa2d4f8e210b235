#!/usr/bin/env python3
"""Fails when an include crosses the layers the wrong way.

    tools/check-layers.py [--arrows]

The rules, kept by the build rather than by memory:
  - core/ includes no Qt header and nothing of platform/ or windows/;
  - platform/ includes nothing of windows/;
  - no feature folder of windows/ includes the main window's folder
    (windows/main/ holds the main window and the registry of all windows:
    the features are reached from it, never the other way round);
  - the feature folders of each layer include one another without a
    circle.
--arrows also lists the folder-to-folder arrows inside each layer, the
folders from the bottom up in the order that leaves the fewest arrows running
back up (from a folder to one above it), and those arrows.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LAYERS = ("core", "platform", "windows")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def sources(layer):
    for folder, _, names in os.walk(os.path.join(ROOT, layer)):
        for name in sorted(names):
            if name.endswith((".h", ".cpp")):
                path = os.path.join(folder, name)
                yield os.path.relpath(path, ROOT), open(path, encoding="utf-8").read()


def feature(path):
    parts = path.split("/")
    return parts[1] if len(parts) > 2 else ""


def cycle(arrows):
    """A circle among the folders, as a list, or None."""
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(arrows.get(node, ())):
            if state.get(nxt) == "open":
                return trail[trail.index(nxt):] + [nxt] if nxt in trail else [node, nxt]
            if nxt not in state:
                found = visit(nxt, trail + [nxt])
                if found:
                    return found
        state[node] = "done"
        return None

    for start in sorted(arrows):
        if start not in state:
            found = visit(start, [start])
            if found:
                return found
    return None


def bottom_up(arrows):
    """The folders from the bottom up, in an order that leaves the fewest
    arrows running back up, and those arrows."""
    folders = sorted(set(arrows) | {d for targets in arrows.values() for d in targets})
    # best[placed] = (arrows back up, order) for the set of folders placed at
    # the bottom: a folder put on top of them makes every arrow into it from
    # one of them run back up.
    best = {frozenset(): (0, [])}
    for _ in folders:
        step = {}
        for placed, (cost, order) in best.items():
            for folder in folders:
                if folder in placed:
                    continue
                up = sum(1 for below in placed if folder in arrows.get(below, ()))
                key = placed | {folder}
                if key not in step or (cost + up, order + [folder]) < step[key]:
                    step[key] = (cost + up, order + [folder])
        best = step
    _, order = best[frozenset(folders)] if folders else (0, [])
    rank = {folder: at for at, folder in enumerate(order)}
    back = [(s, d) for s in sorted(arrows) for d in sorted(arrows[s]) if rank[d] > rank[s]]
    return order, back


def main():
    faults = []
    arrows = {layer: {} for layer in LAYERS}
    for layer in LAYERS:
        for path, text in sources(layer):
            for kind, target in INCLUDE.findall(text):
                if layer == "core" and kind == "<" and re.match(r"Q[A-Za-z]+$|Qt", target):
                    faults.append(f"{path}: core includes the Qt header <{target}>")
                if kind != '"':
                    continue
                top = target.split("/")[0]
                if top in LAYERS and LAYERS.index(top) > LAYERS.index(layer):
                    faults.append(f"{path}: {layer}/ includes {target} from a layer above")
                if top != layer:
                    continue
                src, dst = feature(path), feature(target)
                if layer == "windows" and dst == "main" and src != "main":
                    faults.append(f"{path}: a feature of windows/ includes the main window's {target}")
                if src and dst and src != dst:
                    arrows[layer].setdefault(src, set()).add(dst)
    for layer in LAYERS:
        found = cycle(arrows[layer])
        if found:
            faults.append(f"{layer}/: the folders include one another in a circle: {' -> '.join(found)}")
    if "--arrows" in sys.argv:
        for layer in LAYERS:
            count = sum(len(d) for d in arrows[layer].values())
            order, back = bottom_up(arrows[layer])
            print(f"{layer}/: {count} folder arrows, {len(back)} back up")
            for src in sorted(arrows[layer]):
                print(f"  {src} -> {' '.join(sorted(arrows[layer][src]))}")
            print(f"  from the bottom up: {' '.join(order)}")
            for src, dst in back:
                print(f"  back up: {src} -> {dst}")
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        print(f"check-layers: {len(faults)} include(s) against the layers", file=sys.stderr)
        return 1
    print("check-layers: every include follows the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
