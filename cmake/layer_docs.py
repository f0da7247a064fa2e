#!/usr/bin/env python3
"""The parts of docs/architecture.md that the build knows: the table of what each layer links
and the test labels, written from layer-links.json between the document's markers
(`<!-- generated: NAME -->` ... `<!-- end of generated: NAME -->`).

Without --write, fails (and shows the difference) when the document no longer says what the
build does; with --write, puts the build's text in.
"""

import argparse
import difflib
import json
import re
import sys
import textwrap

# How the document names what the layers link.
NAMES = {
    "SQLite::SQLite3": "SQLite",
    "Cups::Cups": "libcups",
    "PkgConfig::PXLIB": "pxlib",
    "PkgConfig::SODIUM": "libsodium",
    "PkgConfig::LIBOFX": "libofx",
    "PkgConfig::QPDF": "qpdf",
}


def named(target, layers):
    if target in layers:
        return layers[target]["folder"].split("/")[-1]
    if target.startswith("Qt6::"):
        return "Qt " + target[len("Qt6::"):]
    return NAMES.get(target, target)


def sees_widgets(layer):
    return "Qt6::Widgets" in layer["sees"]


def links_table(manifest):
    layers = {layer["target"]: layer for layer in manifest["layers"]}
    # A Qt module named by one layer only is said to be so: the next one to link it shows.
    namers = {}
    for layer in manifest["layers"]:
        for target in layer["public"]:
            if target.startswith("Qt6::"):
                namers.setdefault(target, []).append(layer["target"])
    rows = ["| library | links (public) | links for itself only |", "|---|---|---|"]
    for layer in manifest["layers"]:
        public = []
        for target in layer["public"]:
            text = named(target, layers)
            if target.startswith("Qt6::") and target != "Qt6::Core" and len(namers[target]) == 1:
                text += " (the only layer that links it)"
            public.append(text)
        shown = ", ".join(public)
        # Above the store, a layer without Qt Gui runs without a display.
        if "Qt6::Gui" not in layer["sees"] and layer["folder"] not in ("platform/core", "platform/store"):
            shown += " (no Gui)"
        private = [named(t, layers) for t in layer["links"] if t not in layer["public"]]
        rows.append(f"| `{layer['target']}` | {shown} | {', '.join(private)} |")
    return "\n".join(rows)


def test_labels(manifest):
    labels = [layer["folder"].split("/")[-1] for layer in manifest["layers"]]
    window = [layer["folder"].split("/")[-1] for layer in manifest["layers"] if sees_widgets(layer)]
    unit = [label for label in labels if label not in window]
    quoted = lambda items: ", ".join(f"`{i}`" for i in items)
    return textwrap.fill(f"Each test carries two CTest labels: its layer ({quoted(labels)}) and its kind: "
            f"`window` when the program links Qt Widgets (a `QApplication` and real windows; the "
            f"tests of {quoted(window)}), `unit` otherwise (those of {quoted(unit)}), `e2e` for "
            f"the end-to-end scenarios. The checks of the layers (includes, symbols, this "
            f"document's generated parts) are labelled `layers` and `unit`.", width=96, break_on_hyphens=False)


PARTS = {"layer-links": links_table, "test-labels": test_labels}


def render(document, manifest):
    for name, make in PARTS.items():
        pattern = re.compile(
            rf"(<!-- generated: {name} [^\n]*-->\n)(.*?)(\n<!-- end of generated: {name} -->)", re.DOTALL)
        if not pattern.search(document):
            raise SystemExit(f"the document has no part '{name}' between its markers")
        text = make(manifest)
        document = pattern.sub(lambda m: m.group(1) + text + m.group(3), document)
    return document


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--links", required=True, help="layer-links.json written by the build")
    parser.add_argument("--document", required=True, help="docs/architecture.md")
    parser.add_argument("--write", action="store_true", help="put the build's text in")
    args = parser.parse_args()
    with open(args.links, encoding="utf-8") as f:
        manifest = json.load(f)
    with open(args.document, encoding="utf-8") as f:
        document = f.read()
    wanted = render(document, manifest)
    if args.write:
        if wanted != document:
            with open(args.document, "w", encoding="utf-8") as f:
                f.write(wanted)
        return 0
    if wanted != document:
        sys.stdout.writelines(difflib.unified_diff(document.splitlines(True), wanted.splitlines(True),
                                                   args.document, "what the build says"))
        print("docs/architecture.md no longer says what the build does: run "
              "cmake/layer_docs.py --write with --links and --document", file=sys.stderr)
        return 1
    print("the document's generated parts match the build")
    return 0


if __name__ == "__main__":
    sys.exit(main())
