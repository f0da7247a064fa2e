"""What a person who listens to a screen reader, or reads a dark desktop theme, meets: the
program's accessible objects read through AT-SPI on a session bus of the scenario's own, and
the contrast of texts measured on the screen's pixels."""

import json
import os
import subprocess

# Debian's interpreter, which has pyatspi (a python3 of another installation may not).
ATSPI_PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else "python3"
HERE = os.path.dirname(os.path.abspath(__file__))


def start_session_bus(s):
    """A D-Bus session bus for the scenario; the accessibility bus starts on it when asked.
    Every process started afterwards (the program, the reader) uses it."""
    path = os.path.join(s.runtime, "bus")
    s.spawn(["dbus-daemon", "--session", "--nofork", "--address=unix:path=" + path],
            log=os.path.join(s.work, "dbus.log"))
    s.wait_for(lambda: os.path.exists(path), "the session bus")
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + path


def accessible_tree(s, talo, title, timeout=30):
    """The program's accessible objects, once its window titled `title` is among them."""
    def read():
        out = s.tool(ATSPI_PYTHON, os.path.join(HERE, "atspi_tree.py"), str(talo.process.pid),
                     timeout=60)
        tree = json.loads(out)
        return tree if tree and any(c["name"] == title for c in tree["children"]) else None
    return s.wait_for(read, "the window '%s' through AT-SPI" % title, timeout)


def walk(node):
    yield node
    for child in node["children"]:
        yield from walk(child)


def luminance(rgb):
    def channel(v):
        c = v / 255.0
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def text_contrast(s, screenshot, place, inset=3):
    """(text colour, background colour, their contrast) in a rectangle of the screen, its edges
    (frames, separators) left out: the most frequent colour is the background, the one farthest
    from it the text's."""
    x, y, w, h = place[0] + inset, place[1] + inset, place[2] - 2 * inset, place[3] - 2 * inset
    out = s.tool("convert", screenshot, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                 "-depth", "8", "txt:-")
    counts = {}
    for line in out.splitlines()[1:]:
        hex_colour = line.split("#", 1)[1][:6]
        rgb = tuple(int(hex_colour[i:i + 2], 16) for i in (0, 2, 4))
        counts[rgb] = counts.get(rgb, 0) + 1
    background = max(counts, key=counts.get)
    text = max(counts, key=lambda c: ratio(c, background))
    return text, background, ratio(text, background)
