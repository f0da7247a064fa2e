# " Bilan annuel" from the menu Voir: the first beneficiary's line read, the summary with its
# charts printed to PDF. A consultation whose only gap is the 2 € the C.P.A.M. withheld is in
# neither the follow-up nor "Remboursements attendus", and shows in the summary as the family's
# "Franchises et participations".
import os

import followup_steps as steps
from places import FOLLOW_UP_TITLE, MAIN, MAIN_TITLE, SUMMARY, SUMMARY_TITLE
from talo_e2e import run


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nANNE\r\nPAUL\r\n"})
    first = steps.day(0).replace(month=1, day=2)
    steps.seed(s, folder, [(first, "PAUL", "Dentiste", 100, first, 70),
                           (first, "ANNE", "", 30, None, None)])
    # 70 % of 30 € less 2 €, and the mutuelle's 9 €: only what was withheld is left.
    s.sql(folder + "/TALO.DB",
          "insert into TALO (\"Date soins\", Beneficiaire, Medecin, Specialite, Cout, "
          "\"Date CPAM\", \"Montant CPAM\", \"CPAM oui/non\", \"Date mutuelle\", "
          "\"Montant mutuelle\", \"Mutuelle oui/non\") values ('%s', 'PAUL', 'MARTIN', "
          "'Généraliste', 30, '%s', 19, 'Faux', '%s', 9, 'Faux')"
          % (first.isoformat(), first.isoformat(), first.isoformat()))
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    awaited = s.sql(folder + "/TALO.DB", "select sum(Attendu) as a, sum(Retenu) as r "
                    "from TALO_TOTAUX")[0]
    s.check_equal((awaited["a"], awaited["r"]), (6000, 200),
                  "Remboursements attendus without the 2 € withheld, kept aside")

    s.gesture(main, MAIN, ["mnuVoir", "mnuSuivi"])
    s.wait_window(FOLLOW_UP_TITLE)
    # The payers of every line: the consultation would be the one "à vérifier".
    payers = {steps.copied(s, keys) for keys in (["Right"] * 7, ["Down"], ["Down"])}
    s.check_equal(payers, {"C.P.A.M.", "Mutuelle"}, "the follow-up without the consultation")
    s.key("Escape")
    s.wait_no_window(FOLLOW_UP_TITLE)
    s.gesture(main, MAIN, ["mnuVoir", "mnuBilan"])
    window = s.wait_window(SUMMARY_TITLE)
    s.click(window, *SUMMARY["beneficiary1"])
    s.check_equal(steps.copied(s, []), "ANNE", "the first beneficiary")
    s.check_equal(steps.plain(steps.copied(s, ["Right"] * 2)), "30,00 €", "ANNE's cost")

    s.click(window, *SUMMARY["btnApercu"])
    pdf = os.path.join(s.work, "bilan.pdf")
    text = steps.save_preview_as_pdf(s, " Aperçu - Bilan annuel", pdf)
    # The headings wrap in the names' column; amounts keep their no-break blanks.
    words = " ".join(steps.plain(text).split())
    for expected in ("Bilan annuel (%d)" % first.year, "Par spécialité", "Non précisée",
                     "Dentiste", "Reste à charge", "Franchises et participations",
                     "PAUL (%d)" % first.year, "Participations : 2,00 € sur 50,00 €"):
        s.check(expected in words, "the PDF shows %r: %r" % (expected, words))
    images = s.tool("pdfimages", "-list", pdf).splitlines()[2:]
    s.check(len(images) >= 2, "the PDF holds both charts: %r" % images)
    s.screenshot("year-summary")
    s.key("Escape")
    s.wait_no_window(SUMMARY_TITLE)
    s.quit(talo, main)


run(scenario)
