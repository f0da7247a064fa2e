# The backup window opens where the last copy went, also after the program was restarted, and
# F1 there opens its help; OK asks first when a file of the person's own lies among the copy's (Non writes
# nothing, Oui copies and leaves that file alone), and the copy ends with one line saying
# what went where.
import os

from places import BACKUP, BACKUP_TITLE, MAIN, MAIN_TITLE
from talo_e2e import run

ENTRIES = 'select "Date soins" as date, Beneficiaire, Cout from TALO order by Numero'


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\n"})
    s.sql(folder + "/TALO.DB", 'insert into TALO ("Date soins", Beneficiaire, Cout) '
                               "values ('2024-01-10', 'MARIE', 25)")
    talo = s.start(folder)
    copies = s.backup(s.wait_window(MAIN_TITLE), "Copies")
    s.quit(talo, s.wait_window(MAIN_TITLE))

    s.sql(folder + "/TALO.DB", 'insert into TALO ("Date soins", Beneficiaire, Cout) '
                               "values ('2024-02-11', 'MARIE', 30)")
    with open(os.path.join(copies, "photo.jpg"), "wb") as f:
        f.write(b"JPEG")
    first_copy = s.sql(copies + "/TALO.DB", ENTRIES)
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.click(main, *MAIN["btnSauvegarder"])
    dialog = s.wait_window(BACKUP_TITLE)
    # F1 opens the window's own help beside it.
    s.key("F1")
    s.wait_window("Aide de Talo 3.0")
    s.key("Escape")
    s.wait_no_window("Aide de Talo 3.0")
    s.activate(dialog)
    # Opened on the folder of the last copy: the question names what lies there, nothing else.
    s.click(dialog, *BACKUP["btnOK"])
    box, text = s.message()
    s.check(text.startswith("Le dossier %s contient déjà un élément qui ne vient pas d'une "
                            "copie de Talo 3.0 : photo.jpg." % copies), "the question: " + text)
    s.answer(box)  # Non is the default
    s.wait_window(BACKUP_TITLE)
    s.check_equal(s.sql(copies + "/TALO.DB", ENTRIES), first_copy, "the copy after Non")

    s.click(dialog, *BACKUP["btnOK"])
    box, _ = s.message()
    s.answer(box, "alt+o")
    s.backup_done(copies)
    s.check_equal(s.sql(copies + "/TALO.DB", ENTRIES), s.sql(folder + "/TALO.DB", ENTRIES),
                  "the copy after Oui")
    s.check_equal(s.read(os.path.join(copies, "photo.jpg")), b"JPEG", "the person's own file")
    s.check_equal(sorted(os.listdir(copies)),
                  sorted(["ASSURE.DB", "LSTBENEF.LST", "MEDECINS.DB", "TALO.DB", "mutuelle.inf",
                          "photo.jpg", "talo.ini", "talosoc.inf"]), "the folder of the copy")
    s.quit(talo, main)


run(scenario)
