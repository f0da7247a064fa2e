#!/usr/bin/env python3
"""The include check of the layers: what the include views cannot refuse at compile time.

Every layer compiles against a view holding only its own folder and the views of the layers
it links, but the Qt include root and /usr/include are on every path, and a view's folder is
a link into the source tree. So this check reads every #include of src/<layer>/ and refuses:

- any `..` or absolute path (a way out of the view, through its link or beside it);
- a layer's folder the layer does not link;
- a Qt header (module-qualified or not) of a module the layer does not link;
- a header of a system library (found through the package that installed the library the
  build links) that the layer does not link itself or see through a public link;
- a link the layer names but never includes anything of (it would link more than it uses).

What each layer links comes from the build (layer-links.json, written by CMake).
`--probes` plants each kind of fault in a copy of the sources and checks it is refused.
"""

import argparse
import copy
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*([<"])([^>"]+)[>"]', re.MULTILINE)
BLOCK_COMMENT = re.compile(r"/\*.*?\*/", re.DOTALL)
LINE_COMMENT = re.compile(r"//[^\n]*")
SOURCE_SUFFIXES = (".cpp", ".h")
SYSTEM_ROOTS = ("/usr/include", "/usr/local/include")


def dpkg_query(*args):
    """dpkg-query's lines (for -S, those of the paths it knows even when some it does not), or
    none when it is not there."""
    try:
        done = subprocess.run(["dpkg-query", *args], capture_output=True, text=True, check=False)
    except FileNotFoundError:
        return []
    return done.stdout.splitlines()


def candidates(path):
    """`path` as given, resolved, and on the other side of the /usr merge."""
    found = [path, os.path.realpath(path)]
    for p in list(found):
        if p.startswith("/usr/lib/"):
            found.append(p[len("/usr"):])
        elif p.startswith("/lib/"):
            found.append("/usr" + p)
    return found


def owners(paths):
    """The packages that installed each of `paths`, asked in one go."""
    result = {}
    for line in dpkg_query("-S", *paths) if paths else []:
        packages, _, path = line.partition(": ")
        result.setdefault(path.strip(), set()).update(p.strip() for p in packages.split(","))
    return result


class Links:
    """The build's links: per layer what it names and what it sees; per system library the
    header names it installs."""

    def __init__(self, manifest):
        self.qt_root = manifest["qt_root"]
        self.layers = {layer["folder"]: layer for layer in manifest["layers"]}
        self.by_target = {layer["target"]: folder for folder, layer in self.layers.items()}
        self.qt_modules = {
            d for d in os.listdir(self.qt_root) if os.path.isdir(os.path.join(self.qt_root, d))
        }
        self.library_headers = {}  # include name -> library target
        libraries = manifest["libraries"]
        installed = owners(sorted({c for e in libraries.values() for f in e["files"] for c in candidates(f)}))
        listed = {}
        for library, entry in libraries.items():
            packages = set()
            for f in entry["files"]:
                packages |= next((installed[c] for c in candidates(f) if c in installed), set())
            roots = list(SYSTEM_ROOTS) + [d for d in entry["include_dirs"] if d not in SYSTEM_ROOTS]
            for package in sorted(packages):
                if package not in listed:
                    listed[package] = dpkg_query("-L", package)
                for path in listed[package]:
                    if not path.endswith((".h", ".hpp", ".hh")) or not os.path.isfile(path):
                        continue
                    for root in roots:
                        if path.startswith(root.rstrip("/") + "/"):
                            self.library_headers.setdefault(os.path.relpath(path, root), library)

    def qt_module_of(self, name):
        """The Qt module an include names, or None."""
        head = name.split("/", 1)[0]
        if "/" in name:
            return head if head in self.qt_modules else None
        if head in self.qt_modules and os.path.isfile(os.path.join(self.qt_root, head, head)):
            return head
        for module in sorted(self.qt_modules):
            if os.path.isfile(os.path.join(self.qt_root, module, name)):
                return module
        return None

    def layer_of(self, name):
        """The layer folder an include path starts with (the longest that matches), or None."""
        best = None
        for folder in self.layers:
            if name.startswith(folder + "/") and (best is None or len(folder) > len(best)):
                best = folder
        return best


def includes(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    # Comments are blanked out, their line ends kept: an include in a comment is not one.
    code = BLOCK_COMMENT.sub(lambda m: "\n" * m.group(0).count("\n"), text)
    code = LINE_COMMENT.sub("", code)
    for m in INCLUDE.finditer(code):
        yield code.count("\n", 0, m.start()) + 1, m.group(1), m.group(2).strip()


def qt_name(target):
    return "Qt" + target.split("::", 1)[1] if target.startswith("Qt6::") else None


def check(links, sources):
    """Every fault found, as 'file:line: text' lines."""
    faults = []
    for folder, layer in sorted(links.layers.items()):
        seen_layers = {folder} | {links.by_target[t] for t in layer["sees"] if t in links.by_target}
        seen_qt = {qt_name(t) for t in layer["sees"] if qt_name(t)}
        seen_libraries = {t for t in layer["sees"] if t in links.library_headers.values()}
        used = set()
        directory = os.path.join(sources, folder)
        if not os.path.isdir(directory):
            continue
        for file_name in sorted(os.listdir(directory)):
            if not file_name.endswith(SOURCE_SUFFIXES):
                continue
            shown = os.path.join("src", folder, file_name)
            for line, bracket, name in includes(os.path.join(directory, file_name)):
                where = f"{shown}:{line}: {bracket}{name}{'>' if bracket == '<' else chr(34)}"
                parts = name.replace("\\", "/").split("/")
                if name.startswith("/") or ".." in parts:
                    faults.append(f"{where}: a path out of the layer's include view ('..' or absolute)")
                    continue
                if "/" not in name and os.path.isfile(os.path.join(directory, name)):
                    continue
                other = links.layer_of(name)
                if other is not None:
                    if other not in seen_layers:
                        faults.append(f"{where}: layer {folder} does not link layer {other}")
                    used.add(links.layers[other]["target"])
                    continue
                module = links.qt_module_of(name)
                if module is not None:
                    if module not in seen_qt:
                        faults.append(
                            f"{where}: Qt module {module} is not linked by layer {folder}"
                            f" (it sees {', '.join(sorted(seen_qt)) or 'no Qt module'})")
                    used.add("Qt6::" + module[2:])
                    continue
                library = links.library_headers.get(name)
                if library is not None:
                    if library not in seen_libraries and library not in layer["links"]:
                        faults.append(f"{where}: a header of {library}, which layer {folder} does not link")
                    used.add(library)
        for target in layer["links"]:
            if target.startswith("$<"):
                continue
            named = target in links.by_target or qt_name(target) or target in links.library_headers.values()
            if named and target not in used:
                faults.append(f"src/{folder}: links {target} but includes nothing of it")
    return faults


# Each probe: the layer, the line planted in a new file of it, and what the refusal must say.
PROBES = [
    ("platform/store", "#include <QtWidgets/QApplication>", "Qt module QtWidgets"),
    ("platform/store", "#include <QWidget>", "Qt module QtWidgets"),
    ("register", "#include <QtGui/QPainter>", "Qt module QtGui"),
    ("register", '#include "QtGui/QPainter"', "Qt module QtGui"),
    ("reports", "#include <QtCharts/QChart>", "Qt module QtCharts"),
    ("register", '#include "../reference/TFrmMedecins.h"', "out of the layer's include view"),
    ("register", '#include "register/../reference/TFrmMedecins.h"', "out of the layer's include view"),
    ("register", '#include "platform/store/../../reference/TFrmMedecins.h"',
     "out of the layer's include view"),
    ("register", '#include "/usr/include/sqlite3.h"', "out of the layer's include view"),
    ("register", '#include "reference/TFrmMedecins.h"', "does not link layer reference"),
    ("platform/core", "#include <sqlite3.h>", "a header of SQLite::SQLite3"),
    ("tables", "#include <sqlite3.h>", "a header of SQLite::SQLite3"),
    ("reference", "#include <cups/cups.h>", "a header of Cups::Cups"),
    ("recovery", "#include <paradox.h>", "a header of PkgConfig::PXLIB"),
]


def run_probes(links, sources):
    """0 when the sources pass and every probe is refused for its reason."""
    failures = []
    with tempfile.TemporaryDirectory() as work:
        copy_root = os.path.join(work, "src")
        shutil.copytree(sources, copy_root, ignore=shutil.ignore_patterns("*.qrc", "*.png", "*.svg"))
        clean = check(links, copy_root)
        if clean:
            failures.append("the sources themselves do not pass:\n  " + "\n  ".join(clean))
        for folder, line, reason in PROBES:
            probe = os.path.join(copy_root, folder, "IncludeProbe.cpp")
            with open(probe, "w", encoding="utf-8") as f:
                f.write(line + "\n")
            found = [fault for fault in check(links, copy_root) if "IncludeProbe.cpp" in fault]
            os.remove(probe)
            verdict = "refused" if any(reason in fault for fault in found) else "NOT REFUSED"
            print(f"probe {folder}: {line} -> {verdict}")
            if verdict != "refused":
                failures.append(f"{folder}: {line} was not refused for '{reason}': {found}")
        # A link no source uses.
        unused = copy.deepcopy(links)
        unused.layers["register"] = dict(unused.layers["register"])
        unused.layers["register"]["links"] = unused.layers["register"]["links"] + ["Qt6::Charts"]
        found = check(unused, copy_root)
        verdict = "refused" if any("links Qt6::Charts but includes nothing" in f for f in found) else "NOT REFUSED"
        print(f"probe register: links Qt6::Charts unused -> {verdict}")
        if verdict != "refused":
            failures.append("an unused link of register was not refused")
    for failure in failures:
        print("FAILED: " + failure, file=sys.stderr)
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--links", required=True, help="layer-links.json written by the build")
    parser.add_argument("--sources", required=True, help="the src/ folder")
    parser.add_argument("--probes", action="store_true", help="check the check against planted faults")
    args = parser.parse_args()
    with open(args.links, encoding="utf-8") as f:
        links = Links(json.load(f))
    if not links.library_headers:
        print("no system library header found through dpkg-query", file=sys.stderr)
        return 1
    if args.probes:
        return run_probes(links, args.sources)
    faults = check(links, args.sources)
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        print(f"{len(faults)} include(s) or link(s) refused", file=sys.stderr)
        return 1
    print(f"{len(links.layers)} layers: every include within what the layer links")
    return 0


if __name__ == "__main__":
    sys.exit(main())
