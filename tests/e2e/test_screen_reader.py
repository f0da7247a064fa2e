# The main window as a screen reader hears it and as a dark desktop theme shows it, on a
# 1024 by 768 screen: through AT-SPI every button, list and field has its French name and
# description (the lists named by their captions), every column of the grid is in sight at the
# opening size, and the texts in the program's own colours read at 4.5:1 or more, measured on
# the screen's pixels under the light theme and under Adwaita's dark one. The window's X11
# class is the one the menu entry names, so that docks group it with its launcher.
import os
import re

import screen_steps as screen
from places import MAIN_TITLE
from talo_e2e import run

TOOL_BAR = ["Informations générales", "Carnet d'adresses médicales", "Liste des bénéficiaires",
            "Aperçu document", "Définir un mot de passe", "Imprimer document",
            "Créer une copie de sauvegarde", "Aide sur Talo 3.0", "Quitter Talo 3.0"]
NAVIGATOR = ["Premier enregistrement", "Enregistrement précédent", "Enregistrement suivant",
             "Dernier enregistrement", "Ajouter enregistrement", "Supprimer enregistrement",
             "Valider enregistrement", "Annuler modifications"]
SOINS_PAGE = ["Date", "Bénéficiaire", "Médecin", "Spécialité", "Paiement", "Coût",
              "Remboursement partiel", "Estimation", "Note"]
COLUMNS = ["Date", "Bénéficiaire", "Médecin", "Coût", "Dte CPAM", "Mt CPAM", "Dte Mutu.",
           "Mt Mutu.", "Ecart"]
CONTROLS = {"push button", "combo box", "text", "check box", "table", "page tab"}
DARK = {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"}


def check_names(s, tree):
    frame = next(c for c in tree["children"] if c["name"] == MAIN_TITLE)
    nodes = list(screen.walk(frame))
    shown = [n for n in nodes if "showing" in n["states"]]
    buttons = [n for n in shown if n["role"] == "push button" and n["name"] in TOOL_BAR + NAVIGATOR]
    s.check_equal([b["name"] for b in buttons], TOOL_BAR + NAVIGATOR, "the buttons' names")
    for b in buttons:
        s.check(b["description"] and "focusable" in b["states"],
                "the button '%s' described and reached by the keyboard: %r" % (b["name"], b))
    # Lists are told by their captions (AT-SPI's "labelled by"), then their item and purpose.
    lists = {n["labelled_by"][0]: n for n in shown if n["role"] == "combo box" and n["labelled_by"]}
    for caption, value in (("Année :", "TOUTES"), ("Bénéficiaire :", "TOUS")):
        s.check(caption in lists and lists[caption]["name"] == value and
                lists[caption]["description"], "the list '%s': %r" % (caption, lists.get(caption)))
    fields = [n["name"] for n in shown if n["role"] in ("text", "combo box", "check box") and
              n["description"] == "Onglet Soins"]
    s.check_equal(fields, SOINS_PAGE, "the fields of the page Soins")
    unnamed = [n for n in shown if n["role"] in CONTROLS and not n["name"]]
    s.check_equal(unnamed, [], "controls without a name")
    table = next(n for n in shown if n["role"] == "table")
    s.check(table["name"] and table["description"], "the grid named: %r" % table["name"])
    return frame, nodes, table


def check_columns(s, nodes, table):
    headers = [n for n in nodes if n["role"] == "table column header"]
    s.check_equal([h["name"] for h in headers], COLUMNS, "the grid's columns")
    right = table["place"][0] + table["place"][2]
    for h in headers:
        s.check("showing" in h["states"] and h["place"][0] + h["place"][2] <= right,
                "the column '%s' in sight at %r (grid up to x=%d)" % (h["name"], h["place"], right))


def check_contrast(s, shot, nodes, theme):
    places = {
        "awaited amount": next(n for n in nodes if n["role"] == "label" and
                               n["description"] == "Remboursements attendus"),
        "page tab C.P.A.M.": next(n for n in nodes if n["role"] == "page tab" and
                                  n["name"] == "C.P.A.M."),
        "column title Coût": next(n for n in nodes if n["role"] == "table column header" and
                                  n["name"] == "Coût"),
    }
    measured = {}
    for what, node in places.items():
        text, background, r = screen.text_contrast(s, shot, node["place"])
        measured[what] = (text, background, round(r, 2))
        s.check(r >= 4.5, "%s under the %s theme: %r on %r reads at %.2f:1" %
                (what, theme, text, background, r))
    return measured


def scenario(s):
    screen.start_session_bus(s)
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\n"})
    s.sql(folder + "/TALO.DB",
          'insert into TALO ("Date soins", Beneficiaire, Medecin, Cout, "Date CPAM", '
          '"Montant CPAM", "Date mutuelle", "Montant mutuelle") values '
          "('2024-01-10', 'MARIE-CHARLOTTE', 'DUPONT-MORETTI', 99999.99, '2024-12-28', "
          "99999.99, '2024-12-28', 99999.99), ('2024-02-11', 'MARIE', 'DR', 30, null, 10, "
          "null, null)")
    a11y = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}

    talo = s.start(folder, env=a11y)
    main = s.wait_window(MAIN_TITLE)
    tree = screen.accessible_tree(s, talo, MAIN_TITLE)
    frame, nodes, table = check_names(s, tree)
    check_columns(s, nodes, table)
    shot = s.screenshot("fenetre-principale-1024x768")
    check_contrast(s, shot, nodes, "light")

    # The window's class is the one the menu entry names.
    wm_class = re.findall(r'"([^"]*)"', s.tool("xprop", "-id", str(main), "WM_CLASS"))
    entry = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources",
                         "desktop", "fr.talo.Talo.desktop.in")
    with open(entry, encoding="utf-8") as f:
        startup_class = re.search(r"^StartupWMClass=(.*)$", f.read(), re.M).group(1)
    s.check(startup_class in wm_class, "WM_CLASS %r holds StartupWMClass %r" %
            (wm_class, startup_class))
    talo.crash()

    # The desktop in Adwaita's dark theme.
    plugin_dirs = [d for d in ("/usr/lib/x86_64-linux-gnu/qt6/plugins/platformthemes",
                               "/usr/lib/aarch64-linux-gnu/qt6/plugins/platformthemes")
                   if os.path.exists(os.path.join(d, "libqgtk3.so"))]
    s.check(plugin_dirs, "qt6-gtk-platformtheme installed (scripts/setup.sh)")
    talo = s.start(folder, env=dict(a11y, **DARK))
    s.wait_window(MAIN_TITLE)
    tree = screen.accessible_tree(s, talo, MAIN_TITLE)
    frame, nodes, table = check_names(s, tree)
    shot = s.screenshot("fenetre-principale-sombre")
    window_text, window_background, _ = screen.text_contrast(s, shot, table["place"])
    s.check(screen.luminance(window_background) < 0.1,
            "a dark grid under the dark theme, not %r" % (window_background,))
    check_contrast(s, shot, nodes, "dark")
    talo.crash()


run(scenario)
