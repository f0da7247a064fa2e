# A C.P.A.M. payment nothing fits, its entries picked by keyboard under a dark desktop theme:
# Alt+H on the payment, Space on two of the entries still awaited, Enter; one share typed, the
# other follows; Alt+C. TALO.DB holds the payment's date and the two shares. The list of
# entries is named for a screen reader and its texts read at 4.5:1 or more on the dark theme.
import os

import import_steps
import screen_steps as screen
from places import IMPORT_PICK_TITLE, IMPORT_TITLE, MAIN_TITLE
from talo_e2e import run

DARK = {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark",
        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}


def csv_bytes():
    # The Martin visits make the first payment; 99,99 € fits nothing that is left.
    lines = ["Date opération;Libellé;Montant",
             "%s;VIR CPAM DE PARIS REMB SOINS;38,00" % import_steps.day(10).strftime("%d/%m/%Y"),
             "%s;VIR CPAM DE PARIS REMB SOINS;99,99" % import_steps.day(9).strftime("%d/%m/%Y")]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def check_pick_window(s, talo):
    tree = screen.accessible_tree(s, talo, IMPORT_PICK_TITLE)
    window = next(c for c in tree["children"] if c["name"] == IMPORT_PICK_TITLE)
    nodes = [n for n in screen.walk(window) if "showing" in n["states"]]
    named = {(n["role"], n["name"]) for n in nodes}
    for role, name in (("table", "Soins à cocher"), ("push button", "Valider le choix des soins"),
                       ("push button", "Annuler le choix des soins")):
        s.check((role, name) in named, "the %s '%s' in the pick window" % (role, name))
    shot = s.screenshot("choix-soins-sombre")
    # Paul's entry, on the second row, away from the highlight of the current one.
    cell = next(n for n in nodes if n["name"] == "PAUL")
    text, background, r = screen.text_contrast(s, shot, cell["place"])
    s.check(screen.luminance(background) < 0.1, "a dark list, not %r" % (background,))
    s.check(r >= 4.5, "the entry of PAUL reads at %.2f:1 (%r on %r)" % (r, text, background))


def scenario(s):
    screen.start_session_bus(s)
    folder, numbers = import_steps.register(s)
    path = os.path.join(s.work, "releve.csv")
    with open(path, "wb") as f:
        f.write(csv_bytes())
    talo = s.start(folder, env=DARK)
    main = s.wait_window(MAIN_TITLE)
    import_steps.import_file(s, main, path)
    s.activate(s.wait_window(IMPORT_TITLE))
    # The Martin visits make the first payment (its proposal taken where asked); the second
    # payment's entries chosen by hand: newest first, Dupont and Élise's physiotherapy (the
    # Martin visits, the first payment's, are greyed at the end).
    import_steps.choose_where_asked(s, 1)
    s.key("Down", "alt+h")
    s.activate(s.wait_window(IMPORT_PICK_TITLE))
    check_pick_window(s, talo)
    s.key("space", "Down", "Down", "space", "Return")
    s.wait_no_window(IMPORT_PICK_TITLE)
    s.screenshot("choisis-a-la-main")
    # The caret is on Dupont's share: typed, Élise's takes the rest.
    s.key("F2", "ctrl+a")
    s.type("87,99")
    s.key("Return", "alt+c")
    s.wait_no_window(IMPORT_TITLE)
    rows = import_steps.state(s, folder, numbers)[0]
    d = lambda n: import_steps.day(n).isoformat()
    s.check_equal({name: rows[numbers[name]][:2] for name in
                   ("martin_elise", "martin_paul", "dupont", "roux_elise", "roux_paul")},
                  {"martin_elise": (d(10), 19.0), "martin_paul": (d(10), 19.0),
                   "dupont": (d(9), 87.99), "roux_elise": (d(9), 12.0),
                   "roux_paul": (None, None)}, "the C.P.A.M. columns written")
    s.quit(talo, main)


run(scenario)
