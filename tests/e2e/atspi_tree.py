"""Prints, as JSON, what a screen reader is told of the windows of one program: every
accessible object under its application (found by process id) with its role, name, description,
states, labels and place on the screen. Run with Debian's python3, which has pyatspi, on the session
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
    labels = []
    try:
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                labels += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    except Exception:
        pass
    item = {
        "role": node.getRoleName(),
        "name": node.name or "",
        "description": node.description or "",
        "states": sorted(pyatspi.stateToString(s) for s in states),
        "place": place,
        "labelled_by": labels,
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
    # Under the GTK platform theme the toolkit of its dialogs registers a second, empty
    # application for the same process: the one with windows is the program's.
    apps = [app for app in desktop if app is not None and app.get_process_id() == pid]
    apps.sort(key=lambda app: app.childCount, reverse=True)
    print(json.dumps(describe(apps[0]) if apps else None))
    return 0


sys.exit(main())
