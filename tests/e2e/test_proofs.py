# Proofs kept with each care, by keyboard: a PDF bill and a JPEG quote attached to two entries
# (Ctrl+J, the file dialog), a file that only pretends to be a PDF refused with its reason; the
# program left and started again shows them ("Pièces jointes", Ctrl+Maj+J, Enter to see one);
# then the follow-up's lines ticked with Space make the file for the mutuelle, whose pages are
# read back with pdfinfo, pdftotext and pdfimages.
import os
import re

import followup_steps as steps
from places import FOLLOW_UP_TITLE, MAIN, MAIN_TITLE, PROOFS_TITLE
from proof_steps import choose_file, links, pdf_bytes
from talo_e2e import run

DOSSIER_TITLE = " Enregistrer le dossier pour la mutuelle"


def scenario(s):
    folder = s.program_dir(files={
        "LSTBENEF.LST": b"TOUS\r\nPAUL\r\nLUCIE\r\n",
        "mutuelle.inf": "Mutuelle des Marins\r\n3 quai de la Fosse 44000 Nantes\r\n"
                        "02 40 11 22 33\r\nM-445566\r\nVirement\r\n".encode("cp1252")})
    s.sql(folder + "/ASSURE.DB",
          "insert into ASSURE (Nom, Prenom, NumSS, AyantDr) "
          "values ('MARTIN', 'Paul', '185057512345612', 'Faux')")
    # Both paid by the C.P.A.M., the mutuelle's share still owed.
    older, newer = steps.day(50), steps.day(20)
    for date, name, doctor, cost, cpam in ((older, "PAUL", "DR OSTEO", 60, 0),
                                           (newer, "LUCIE", "OPTIQUE DU PORT", 420, 9)):
        s.sql(folder + "/TALO.DB",
              "insert into TALO (\"Date soins\", Beneficiaire, Medecin, Cout, \"Date CPAM\", "
              "\"Montant CPAM\", \"CPAM oui/non\", \"Mutuelle oui/non\") values "
              "('%s', '%s', '%s', %s, '%s', %s, 'Faux', 'Faux')"
              % (date.isoformat(), name, doctor, cost, date.isoformat(), cpam))
    bill = os.path.join(s.work, "facture-osteo.pdf")
    with open(bill, "wb") as f:
        f.write(pdf_bytes("FACTURE OSTEOPATHE 60 EUR"))
    quote = os.path.join(s.work, "devis-lunettes.jpg")
    s.tool("convert", "-size", "400x300", "xc:#1040c0", quote)
    fake = os.path.join(s.work, "piege.pdf")
    with open(fake, "wb") as f:
        f.write(b"#!/bin/sh\necho ceci n'est pas un document\n")

    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    # The newer entry is in view at start: the quote goes with it, the bill with the older.
    s.key("ctrl+j")
    choose_file(s, quote)
    s.key("Up")
    s.key("ctrl+j")
    choose_file(s, bill)
    s.check_equal(links(s, folder), ["DR OSTEO:facture-osteo.pdf",
                                     "OPTIQUE DU PORT:devis-lunettes.jpg"],
                  "each proof linked to its entry")
    s.key("ctrl+j")
    choose_file(s, fake)
    box, text = s.message()
    s.check("piege.pdf" in text and "ni un document PDF, ni une image JPEG ou PNG" in text,
            "the false PDF refused with its reason: %r" % text)
    s.answer(box)
    s.check_equal(len(links(s, folder)), 2, "nothing kept of the refused file")
    stored = sorted(os.listdir(os.path.join(folder, "Pièces")))
    s.check_equal(len(stored), 2, "two files kept in Pièces/: %r" % stored)
    for name in stored:
        mode = os.stat(os.path.join(folder, "Pièces", name)).st_mode & 0o777
        s.check_equal(mode, 0o600, "the stored file %s readable by its owner only" % name)
    os.remove(bill)  # the original can go: the program keeps its own copy
    s.quit(talo, main)

    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.screenshot("proof-count")
    s.key("ctrl+shift+j")
    s.wait_window(PROOFS_TITLE)
    s.screenshot("proofs-list")
    s.key("Return")
    viewer = s.wait_window(" Pièce jointe - devis-lunettes.jpg")
    s.screenshot("proof-viewer")
    s.activate(viewer)
    s.key("Escape")
    s.wait_no_window(" Pièce jointe - devis-lunettes.jpg")
    s.key("Escape")
    s.wait_no_window(PROOFS_TITLE)

    # The follow-up: both lines are the mutuelle's, the older first; Space ticks each.
    s.gesture(main, MAIN, ["mnuVoir", "mnuSuivi"])
    s.wait_window(FOLLOW_UP_TITLE)
    s.key("space", "Down", "space")
    s.key("alt+m")
    s.wait_window(DOSSIER_TITLE)
    dossier = os.path.join(s.work, "dossier-mutuelle.pdf")
    s.key("ctrl+a")
    s.type(dossier)
    s.key("Return")
    box, text = s.message(timeout=30)
    s.check("est prêt (3 pages)" in text and "dossier-mutuelle.pdf" in text,
            "the file said ready with its pages: %r" % text)
    s.answer(box)
    info = s.tool("pdfinfo", dossier)
    s.check(re.search(r"^Pages:\s+3$", info, re.M), "three pages: the cover, the bill, the quote: %r" % info)
    pages = [s.tool("pdftotext", "-f", str(n), "-l", str(n), "-layout", dossier, "-")
             for n in (1, 2, 3)]
    for expected in ("Demande de remboursement", "Mutuelle des Marins", "M-445566",
                     "MARTIN Paul, n° 1850575123456-12", "DR OSTEO", "OPTIQUE DU PORT",
                     "420,00", "9,00", steps.shown(older), "2 pièces justificatives"):
        s.check(expected in pages[0], "the cover shows %r: %r" % (expected, pages[0]))
    s.check("FACTURE OSTEOPATHE" in pages[1], "the bill, as it was, second: %r" % pages[1])
    images = s.tool("pdfimages", "-list", dossier).splitlines()[2:]
    s.check_equal([line.split()[0] for line in images], ["3"], "the quote's picture on page 3")
    os.makedirs(s.artifacts, exist_ok=True)
    s.tool("pdftoppm", "-r", "40", "-png", dossier, os.path.join(s.artifacts, "dossier"))
    s.key("Escape")
    s.wait_no_window(FOLLOW_UP_TITLE)
    s.quit(talo, main)


run(scenario)
