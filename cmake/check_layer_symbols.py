#!/usr/bin/env python3
"""The symbol check of the layers: what no reading of the sources can refuse.

Every function a layer's library calls and does not define is an undefined symbol in it,
however the source came by the declaration: an include, a forward declaration, a function
declared again by hand, an `extern "C"`, an asm label. The symbol's owner is plain: the layer,
Qt module or system library whose library defines it. This check refuses a layer that uses a
symbol of a layer, Qt module or system library it neither links itself nor sees through a
public link (layer-links.json, `sees`). It is what `-Wl,--no-undefined` on a shared library per
layer would refuse, read from the static libraries the build already made (`nm`), so it costs
seconds instead of a second build. Symbols of the C and C++ runtimes, which every layer links,
are not looked at.

`--probes` compiles planted leaks with a layer's own compile command and checks each is refused.
"""

import argparse
import json
import os
import shlex
import subprocess
import sys
import tempfile

STRONG = set("TDBRi")  # defined here and nowhere else; weak copies (W, V) are every user's own


def nm(path, dynamic=False):
    """(undefined, defined strongly, defined at all) symbols of a library or object file."""
    command = ["nm", "-g", "-P"] + (["-D", "--defined-only"] if dynamic else []) + [path]
    done = subprocess.run(command, capture_output=True, text=True, check=False)
    if done.returncode != 0:
        raise SystemExit(f"nm {path}: {done.stderr.strip()}")
    undefined, strong, defined = set(), set(), set()
    for line in done.stdout.splitlines():
        fields = line.split()
        if len(fields) < 2 or line.endswith(":"):
            continue
        # A shared library's symbols carry their version (name@@Qt_6): the name is what links.
        name, kind = fields[0].split("@", 1)[0], fields[1]
        if kind in "Uw":
            undefined.add(name)
        else:
            defined.add(name)
            if kind in STRONG:
                strong.add(name)
    return undefined, strong, defined


class Symbols:
    """Who defines what: each layer's library, each Qt module and system library of the build."""

    def __init__(self, manifest, archives):
        self.layers = {layer["target"]: layer for layer in manifest["layers"]}
        self.archives = archives
        self.layer_symbols = {t: nm(path) for t, path in archives.items()}
        self.owner = {}
        for target, (_, strong, _) in self.layer_symbols.items():
            for name in strong:
                self.owner.setdefault(name, target)
        libraries = {name: entry["files"] for name, entry in manifest["libraries"].items()}
        libraries.update(manifest.get("qt_libraries", {}))
        self.library_of = {}  # symbol -> library targets defining it
        read = {}
        for library, files in libraries.items():
            for f in files:
                real = os.path.realpath(f)
                if real not in read:
                    read[real] = nm(real, dynamic=True)[2] if os.path.isfile(real) else set()
                for name in read[real]:
                    self.library_of.setdefault(name, set()).add(library)

    def faults(self, extra=None):
        """Every use refused, as text lines; `extra` adds object files to a layer (probes)."""
        extra = extra or {}
        found = []
        for target, layer in sorted(self.layers.items()):
            if target not in self.layer_symbols:
                continue
            undefined, _, defined = self.layer_symbols[target]
            undefined = set(undefined)
            for obj in extra.get(target, []):
                u, _, d = nm(obj)
                undefined |= u
                defined = defined | d
            allowed = {target} | set(layer["sees"]) | set(layer["links"])
            for name in sorted(undefined - defined):
                owner = self.owner.get(name)
                if owner is not None:
                    if owner not in allowed:
                        found.append(f"{layer['folder']}: uses {name} of {owner}, "
                                     f"which it does not link")
                    continue
                libraries = self.library_of.get(name, set())
                if libraries and not libraries & allowed:
                    found.append(f"{layer['folder']}: uses {name} of "
                                 f"{' or '.join(sorted(libraries))}, which it does not link")
        return found


# Each probe: the layer, the planted source, and the owner its refusal must name.
PROBES = [
    ("tables", "the class of another layer declared again, one of its functions called",
     "class CareRegister\n{\npublic:\n    void lstListeBeneficiairesClick();\n};\n"
     "void probe(CareRegister &r) { r.lstListeBeneficiairesClick(); }\n", "talo_register"),
    ("tables", "a function of another layer declared again in its namespace, and called",
     "#include <QStringList>\nnamespace LabelWords\n{\nQStringList of(const QString &text);\n}\n"
     "QStringList probe() { return LabelWords::of(QString()); }\n", "talo_register"),
    ("tables", "the same function under another name (an asm label)",
     "#include <QStringList>\n"
     "QStringList wordsOf(const QString &) __asm__(\"_ZN10LabelWords2ofERK7QString\");\n"
     "QStringList probe() { return wordsOf(QString()); }\n", "talo_register"),
    ("platform/core", "a shared header's declaration of another layer's function, called",
     "#include <QStringList>\nnamespace LabelWords\n{\nQStringList of(const QString &text);\n}\n"
     "QStringList probe() { return LabelWords::of(QString()); }\n", "talo_register"),
    ("tables", "a system library the layer does not link, declared by hand",
     "extern \"C\" int sqlite3_libversion_number(void);\n"
     "int probe() { return sqlite3_libversion_number(); }\n", "SQLite::SQLite3"),
    ("platform/store", "a Qt module the layer does not link, declared by hand",
     "class QScreen;\nclass QGuiApplication\n{\npublic:\n    static QScreen *primaryScreen();\n};\n"
     "QScreen *probe() { return QGuiApplication::primaryScreen(); }\n", "Qt6::Gui"),
]


def compile_command(commands, folder, source, output):
    """The compile command of one of the layer's own sources, turned on `source`."""
    marker = os.sep + os.path.join("src", folder) + os.sep
    for entry in commands:
        if marker in entry["file"] and entry["file"].endswith(".cpp") and "_autogen" not in entry["file"]:
            args = entry.get("arguments") or shlex.split(entry["command"])
            kept, skip = [], False
            for arg in args:
                if skip:
                    skip = False
                    continue
                if arg in ("-o", "-c"):
                    skip = True
                    continue
                kept.append(arg)
            return kept + ["-Wno-unused-function", "-c", source, "-o", output], entry["directory"]
    raise SystemExit(f"no compile command for a source of src/{folder}")


def run_probes(symbols, commands):
    failures = []
    clean = symbols.faults()
    if clean:
        failures.append("the libraries themselves do not pass:\n  " + "\n  ".join(clean))
    by_folder = {layer["folder"]: target for target, layer in symbols.layers.items()}
    with tempfile.TemporaryDirectory() as work:
        for number, (folder, what, source, owner) in enumerate(PROBES):
            path = os.path.join(work, f"probe{number}.cpp")
            with open(path, "w", encoding="utf-8") as f:
                f.write(source)
            obj = path + ".o"
            command, directory = compile_command(commands, folder, path, obj)
            done = subprocess.run(command, cwd=directory, capture_output=True, text=True, check=False)
            if done.returncode != 0:
                failures.append(f"{folder}: {what}: the probe does not compile:\n{done.stderr}")
                continue
            found = [f for f in symbols.faults({by_folder[folder]: [obj]}) if f not in clean]
            refused = any(f"of {owner}" in f or f"or {owner}" in f for f in found)
            print(f"probe {folder}: {what} -> {'refused' if refused else 'NOT REFUSED'}")
            if not refused:
                failures.append(f"{folder}: {what} was not refused as a use of {owner}: {found}")
    for failure in failures:
        print("FAILED: " + failure, file=sys.stderr)
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--links", required=True, help="layer-links.json written by the build")
    parser.add_argument("--archive", action="append", default=[], metavar="TARGET=PATH",
                        help="a layer's static library")
    parser.add_argument("--probes", metavar="COMPILE_COMMANDS",
                        help="check the check against planted leaks, compiled as the build does")
    args = parser.parse_args()
    with open(args.links, encoding="utf-8") as f:
        manifest = json.load(f)
    archives = dict(a.split("=", 1) for a in args.archive)
    missing = [p for p in archives.values() if not os.path.isfile(p)]
    if missing:
        print("build the layers' libraries first: " + ", ".join(missing), file=sys.stderr)
        return 1
    symbols = Symbols(manifest, archives)
    if args.probes:
        with open(args.probes, encoding="utf-8") as f:
            return run_probes(symbols, json.load(f))
    faults = symbols.faults()
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        print(f"{len(faults)} symbol(s) used without linking their owner", file=sys.stderr)
        return 1
    print(f"{len(archives)} layers: every symbol used is linked")
    return 0


if __name__ == "__main__":
    sys.exit(main())
