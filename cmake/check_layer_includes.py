#!/usr/bin/env python3
"""The include check of the layers: what the include views cannot refuse at compile time.

Every layer compiles against a view holding only its own folder and the views of the layers
it links, but the Qt include root and /usr/include are on every path, and a view's folder is
a link into the source tree. So this check reads every file of src/<layer>/ (whatever its
extension: a `.inc` is compiled as much as a `.h`) and refuses:

- any `..` or absolute path (a way out of the view, through its link or beside it);
- a layer's folder the layer does not link;
- a Qt header (module-qualified or not) of a module the layer does not link;
- a header of a system library (found through the package that installed the library the
  build links) that the layer does not link itself or see through a public link;
- an include written through a macro (`#include SOME_HEADER`), which names nothing readable;
- a forward declaration, a definition, a namespace opened, or a Q_DECLARE_METATYPE /
  qRegisterMetaType of a class or namespace of a layer it does not link (the layer holding
  `<Name>.h`, one class per file): declaring another layer's names by hand is the way round
  an include (the symbol check, check_layer_symbols.py, then refuses the call itself);
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

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include(?:_next)?[ \t]*([<"])([^>"]+)[>"]', re.MULTILINE)
ANY_INCLUDE = re.compile(r'^[ \t]*#[ \t]*include(?:_next)?\b[ \t]*([^\n]*)', re.MULTILINE)
# A class defined: `class X {`, `class X : public Y`, `struct X final {`.
DEFINED_CLASS = re.compile(r"\b(?:class|struct)\s+(?:Q_DECL_\w+\s+)?([A-Za-z_]\w*)\s*(?:final\s*)?[:{]")
DEFINED_NAMESPACE = re.compile(r"\bnamespace\s+([A-Za-z_]\w*)\s*\{")
# Ways of naming another layer's class or namespace without including it.
DECLARED = [
    (re.compile(r"\b(?:class|struct)\s+([A-Za-z_]\w*)\s*;"), "a forward declaration of"),
    (DEFINED_CLASS, "a definition of"),
    (DEFINED_NAMESPACE, "the namespace"),
    (re.compile(r"\bQ_DECLARE_METATYPE\s*\(\s*(?:const\s+)?([A-Za-z_]\w*)"), "Q_DECLARE_METATYPE of"),
    (re.compile(r"\bqRegisterMetaType\s*<\s*(?:const\s+)?([A-Za-z_]\w*)"), "qRegisterMetaType of"),
]
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


def code_of(path):
    """The file's text with its comments blanked out, their line ends kept: an include in a
    comment is not one. A file that is not UTF-8 is read all the same."""
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    code = BLOCK_COMMENT.sub(lambda m: "\n" * m.group(0).count("\n"), text)
    return LINE_COMMENT.sub("", code)


def line_of(code, m):
    return code.count("\n", 0, m.start()) + 1


def includes(code):
    for m in INCLUDE.finditer(code):
        yield line_of(code, m), m.group(1), m.group(2).strip()


def macro_includes(code):
    """Includes whose name is not written out (a macro, or anything else not <...> or "...")."""
    for m in ANY_INCLUDE.finditer(code):
        if not m.group(1).lstrip().startswith(("<", '"')):
            yield line_of(code, m), m.group(1).strip()


def layer_files(sources, folder):
    """Every file of the layer's folder and below it, whatever its extension."""
    directory = os.path.join(sources, folder)
    found = []
    for root, dirs, files in os.walk(directory):
        dirs.sort()
        found.extend(os.path.join(root, f) for f in sorted(files))
    return found


def defined_names(links, sources):
    """Per class or namespace name, the layers it belongs to: one class (or namespace of free
    functions) per file, so the layers holding a header of that name."""
    owners_of = {}
    for folder in links.layers:
        for path in layer_files(sources, folder):
            base, extension = os.path.splitext(os.path.basename(path))
            if extension == ".h":
                owners_of.setdefault(base, set()).add(folder)
    return owners_of


def qt_name(target):
    return "Qt" + target.split("::", 1)[1] if target.startswith("Qt6::") else None


def check(links, sources):
    """Every fault found, as 'file:line: text' lines."""
    faults = []
    owners_of = defined_names(links, sources)
    for folder, layer in sorted(links.layers.items()):
        seen_layers = {folder} | {links.by_target[t] for t in layer["sees"] if t in links.by_target}
        seen_qt = {qt_name(t) for t in layer["sees"] if qt_name(t)}
        seen_libraries = {t for t in layer["sees"] if t in links.library_headers.values()}
        used = set()
        directory = os.path.join(sources, folder)
        if not os.path.isdir(directory):
            continue
        for path in layer_files(sources, folder):
            shown = os.path.join("src", os.path.relpath(path, sources))
            code = code_of(path)
            for line, text in macro_includes(code):
                faults.append(f"{shown}:{line}: #include {text}: an include written through a macro")
            for pattern, kind in DECLARED:
                for m in pattern.finditer(code):
                    owners = owners_of.get(m.group(1), set())
                    if owners and not owners & seen_layers:
                        faults.append(
                            f"{shown}:{line_of(code, m)}: {kind} {m.group(1)} of layer "
                            f"{', '.join(sorted(owners))}, which layer {folder} does not link")
            for line, bracket, name in includes(code):
                where = f"{shown}:{line}: {bracket}{name}{'>' if bracket == '<' else chr(34)}"
                parts = name.replace("\\", "/").split("/")
                if name.startswith("/") or ".." in parts:
                    faults.append(f"{where}: a path out of the layer's include view ('..' or absolute)")
                    continue
                if "/" not in name and os.path.isfile(os.path.join(os.path.dirname(path), name)):
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


# Leaks of kinds read beyond the includes: the file planted, its text, what the refusal says.
LEAKS = [
    ("tables", "Leak.inc", "#include <sqlite3.h>\n", "a header of SQLite::SQLite3"),
    ("tables", "Leak.inc", "#include <QtWidgets/QWidget>\n", "Qt module QtWidgets"),
    ("tables", "IncludeProbe.cpp", "#define TALO_HEADER <sqlite3.h>\n#include TALO_HEADER\n",
     "through a macro"),
    ("tables", "IncludeProbe.cpp",
     "class CareRegister;\nvoid probe(CareRegister &r);\n",
     "a forward declaration of CareRegister of layer register"),
    ("tables", "IncludeProbe.cpp",
     "class CareRegister\n{\npublic:\n    void lstListeBeneficiairesClick();\n};\n",
     "a definition of CareRegister of layer register"),
    ("tables", "IncludeProbe.cpp", "#include <QMetaType>\nQ_DECLARE_METATYPE(CareRegister *)\n",
     "Q_DECLARE_METATYPE of CareRegister of layer register"),
    ("platform/core", "Shared.h",
     "#include <QStringList>\nnamespace LabelWords\n{\nQStringList of(const QString &text);\n}\n",
     "the namespace LabelWords of layer register"),
]


def run_probes(links, sources):
    """0 when the sources pass and every probe is refused for its reason."""
    failures = []
    with tempfile.TemporaryDirectory() as work:
        copy_root = os.path.join(work, "src")
        shutil.copytree(sources, copy_root)
        clean = check(links, copy_root)
        if clean:
            failures.append("the sources themselves do not pass:\n  " + "\n  ".join(clean))
        planted = [(folder, "IncludeProbe.cpp", line + "\n", reason) for folder, line, reason in PROBES]
        for folder, name, text, reason in planted + LEAKS:
            probe = os.path.join(copy_root, folder, name)
            with open(probe, "w", encoding="utf-8") as f:
                f.write(text)
            found = [fault for fault in check(links, copy_root) if name in fault]
            os.remove(probe)
            verdict = "refused" if any(reason in fault for fault in found) else "NOT REFUSED"
            shown = text.strip().replace("\n", " | ")
            print(f"probe {folder}/{name}: {shown} -> {verdict}")
            if verdict != "refused":
                failures.append(f"{folder}/{name}: {shown} was not refused for '{reason}': {found}")
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
