#!/usr/bin/python3
"""What a screen reader hears of one program: its accessible objects as the
accessibility bus carries them, one line each, depth first:
ROLE<TAB>NAME<TAB>DESCRIPTION<TAB>enabled|disabled<TAB>X Y W H (on the screen).
Serves one tree per line read from stdin, each ended by a line holding a
single dot; the tree is empty while the program is not on the bus.
usage: bus-tree.py PID
"""
import sys

import pyatspi


def walk(node, out):
    states = node.getState()
    enabled = "enabled" if states.contains(pyatspi.STATE_ENABLED) else "disabled"
    try:
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        place = f"{box.x} {box.y} {box.width} {box.height}"
    except NotImplementedError:
        place = "- - - -"
    text = [node.getRoleName(), node.name or "", node.description or "", enabled, place]
    out.append("\t".join(t.replace("\t", " ").replace("\n", " ") for t in text))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, out)


def tree(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    desktop.clear_cache()
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                # Names change as the program runs; nothing read before counts.
                app.clear_cache()
                out = []
                walk(app, out)
                return out
        except Exception:  # an application that left the bus meanwhile
            continue
    return []


def main():
    pid = int(sys.argv[1])
    for _ in sys.stdin:
        try:
            lines = tree(pid)
        except Exception as error:  # the program busy or gone: no answer this time
            print(f"# {error}", file=sys.stderr)
            lines = []
        print("\n".join(lines + ["."]), flush=True)


main()
