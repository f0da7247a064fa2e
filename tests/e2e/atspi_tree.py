"""Prints, as JSON, what a screen reader is told of the windows of one program: every
accessible object under its application (found by process id) with its role, name, description,
states and place on the screen. Run with Debian's python3, which has pyatspi, on the session
bus of the scenario (DBUS_SESSION_BUS_ADDRESS). Usage: atspi_tree.py PID"""

import json
import sys

import pyatspi


def describe(node, depth=0):
    try:
        states = node.getState().getStates()
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        place = [extents.x, extents.y, extents.width, extents.height]
    except Exception:
        states, place = [], None
    item = {
        "role": node.getRoleName(),
        "name": node.name or "",
        "description": node.description or "",
        "states": sorted(pyatspi.stateToString(s) for s in states),
        "place": place,
        "children": [],
    }
    if depth < 40:
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                item["children"].append(describe(child, depth + 1))
    return item


def main():
    pid = int(sys.argv[1])
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            print(json.dumps(describe(app)))
            return 0
    print("null")
    return 0


sys.exit(main())
