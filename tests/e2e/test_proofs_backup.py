# Proofs travel with a backup: a PDF bill attached by keyboard to one of two entries, the
# register backed up through its window, the first program directory and the original bill then
# gone; the program freshly installed elsewhere restores that backup through the restore window
# ("Autre dossier..."). After its restart the bill is there: the same bytes, readable by its
# owner only, linked to the same entry, which says "1 pièce jointe" to a screen reader, and
# Ctrl+Maj+J then Enter shows it.
import os
import shutil

import screen_steps as screen
from places import (APP_TITLE, MAIN_TITLE, PROOFS_TITLE, RESTORE, RESTORE_FOLDER_TITLE,
                    RESTORE_TITLE)
from proof_steps import choose_file, links, pdf_bytes
from talo_e2e import StepFailed, run

BILL = "facture-osteo.pdf"
VIEWER_TITLE = " Pièce jointe - " + BILL


def count_labels(s, talo):
    """The texts a screen reader is told about the proofs of the entry in view."""
    tree = screen.accessible_tree(s, talo, MAIN_TITLE)
    return [n["name"] for n in screen.walk(tree) if n["role"] == "label" and
            "pièce" in n["name"]]


def confirm(s, dialog):
    """"Restaurer...", clicked again until its question comes: the folder is read as soon as it
    is chosen, and the button waits for its summary."""
    def asked():
        s.click(dialog, *RESTORE["btnRestaurer"])
        return s.wait_for(lambda: s.windows(APP_TITLE, dialog=True), "the question", 2)
    for _ in range(10):
        try:
            return asked()
        except StepFailed:
            pass
    raise StepFailed("no question after \"Restaurer...\"")


def scenario(s):
    screen.start_session_bus(s)
    first = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nPAUL\r\nLUCIE\r\n"})
    s.sql(first + "/TALO.DB", 'insert into TALO ("Date soins", Beneficiaire, Medecin, Cout) '
                              "values ('2024-03-04', 'PAUL', 'DR OSTEO', 60), "
                              "('2024-05-06', 'LUCIE', 'OPTIQUE DU PORT', 420)")
    bill = os.path.join(s.work, BILL)
    content = pdf_bytes("FACTURE OSTEOPATHE 60 EUR")
    with open(bill, "wb") as f:
        f.write(content)

    talo = s.start(first)
    main = s.wait_window(MAIN_TITLE)
    s.key("Up")  # the newer entry is in view at start: the bill goes with the older
    s.key("ctrl+j")
    choose_file(s, bill)
    s.check_equal(links(s, first), ["DR OSTEO:" + BILL], "the bill linked to its entry")
    backup = s.backup(main, "Sauvegarde")
    s.quit(talo, main)
    shutil.rmtree(first)
    os.remove(bill)

    second = s.program_dir("Talo2", files={"LSTBENEF.LST": b"TOUS\r\n"})
    talo = s.start(second, env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    main = s.wait_window(MAIN_TITLE)
    s.file_menu(main, "mnuRestaurer")
    dialog = s.wait_window(RESTORE_TITLE)
    s.click(dialog, *RESTORE["btnAutreDossier"])
    s.wait_window(RESTORE_FOLDER_TITLE)
    s.type(backup)
    s.key("Return")
    s.wait_no_window(RESTORE_FOLDER_TITLE)
    s.screenshot("restore-dialog")
    confirm(s, dialog)
    box, text = s.message()
    s.check(text.startswith("Cette copie contient 2 soin(s) (le plus récent du 06/05/2024), "
                            "0 médecin(s) et 0 assuré(s). Elle contient 1 pièce jointe."),
            "the confirmation: %r" % text)
    s.restore_confirmed(box)

    main = s.wait_window(MAIN_TITLE, timeout=30)
    s.check(talo.running(), "the program started again by itself")
    pieces = os.path.join(second, "Pièces")
    stored = os.listdir(pieces)
    s.check_equal(len(stored), 1, "one file in Pièces/: %r" % stored)
    path = os.path.join(pieces, stored[0])
    s.check(s.read(path) == content, "the restored proof holds the bill's bytes")
    s.check_equal(os.stat(path).st_mode & 0o777, 0o600, "the restored proof's permissions")
    s.check_equal(links(s, second), ["DR OSTEO:" + BILL], "the restored link")
    s.expect_rows(second + "/TALO.DB", "select Fichier from TALO_PIECES",
                  [{"Fichier": stored[0]}], "the link names the restored file")

    s.activate(main)
    s.key("Up")
    s.wait_for(lambda: count_labels(s, talo) == ["1 pièce jointe"],
               "the older entry saying it has one proof", timeout=20)
    s.screenshot("proof-count")
    s.key("ctrl+shift+j")
    s.wait_window(PROOFS_TITLE)
    s.key("Return")
    viewer = s.wait_window(VIEWER_TITLE)
    s.screenshot("proof-viewer")
    s.activate(viewer)
    s.key("Escape")
    s.wait_no_window(VIEWER_TITLE)
    s.key("Escape")
    s.wait_no_window(PROOFS_TITLE)
    s.check_equal(s.quit(talo, main), 0, "exit status after the restore")


run(scenario)
