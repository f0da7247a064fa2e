# Every command of the main window's menus reached with the keyboard alone, as a person who
# does not use a mouse does: Alt and the underlined letter of the menu, then the letter of the
# command; F10 opens the first menu and Escape closes it; each window opened is closed by the
# keyboard too (Escape, or Alt+F4 for the windows that keep Escape for their records).
import time

from places import APP_TITLE, MAIN_TITLE
from talo_e2e import run

ESCAPE, CLOSE = "Escape", "alt+F4"
# Menu letter, command letter, the window it opens, the key that closes it.
COMMANDS = [
    ("f", "a", " Aperçu - Liste des soins", ESCAPE),
    ("f", "m", " Création mot de passe", ESCAPE),
    ("f", "c", " Créer une copie de sauvegarde", ESCAPE),
    ("f", "e", " Exporter", ESCAPE),
    ("f", "r", " Restaurer une copie de sauvegarde", ESCAPE),
    ("v", "i", " Talo 3.0 - Informations", CLOSE),
    ("v", "c", " Talo 3.0 - Carnet d'adresses médicales", CLOSE),
    ("v", "l", " Gestion des bénéficiaires", CLOSE),
    ("v", "s", " Suivi des remboursements", ESCAPE),
    ("v", "b", " Bilan annuel", ESCAPE),
    ("a", "a", "Aide de Talo 3.0", CLOSE),
    ("a", "p", " A propos...", ESCAPE),
]


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\n"})
    s.sql(folder + "/TALO.DB", 'insert into TALO ("Date soins", Beneficiaire, Cout) '
                               "values ('2024-01-10', 'MARIE', 25)")
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.activate(main)
    pid = str(talo.process.pid)

    def shown():
        """The program's windows on the screen (an open menu is one of them)."""
        return set(s.tool("xdotool", "search", "--onlyvisible", "--pid", pid,
                          check=False).split())

    alone = shown()
    # F10 opens the first menu, Escape closes it; so do Alt+V and Alt+A.
    for keys in (["F10"], ["alt+v"], ["alt+a"], ["alt+f", "Right"]):
        s.key(*keys)
        s.wait_for(lambda: len(shown()) == len(alone) + 1, "a menu open after %s" % keys)
        s.key("Escape", *(["Escape"] if len(keys) > 1 else []))
        s.wait_for(lambda: shown() == alone, "the menu closed by Escape after %s" % keys)

    for menu, letter, title, close in COMMANDS:
        s.activate(main)
        s.key("alt+" + menu)
        s.key(letter)
        window = s.wait_window(title, timeout=20)
        time.sleep(s.settle)
        s.activate(window)
        s.key(close)
        s.wait_no_window(title)

    # Imprimer... goes to the printer at once: the program tells what became of it.
    s.activate(main)
    s.key("alt+f", "i")
    box, _ = s.message(timeout=20)
    s.answer(box)
    # Quitter, by its letter, then "Oui" by the keyboard too.
    s.activate(main)
    s.key("alt+f", "q")
    box, text = s.message()
    s.check_equal(text, "Voulez-vous vraiment quitter Talo 3.0 ?", "the exit question")
    s.answer(box)
    s.check_equal(talo.wait_exit(), 0, "exit status")


run(scenario)
