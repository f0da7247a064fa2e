# " Suivi des remboursements" from the menu Voir: a line read, the follow-up printed to PDF,
# then Enter on the oldest line brings its entry up on the page "Mutuelle", where the
# reimbursement is typed and saved.
import os

import followup_steps as steps
from places import FOLLOW_UP, FOLLOW_UP_TITLE, MAIN, MAIN_TITLE
from talo_e2e import run


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nANNE\r\nPAUL\r\n"})
    old, recent = steps.day(45), steps.day(5)
    steps.seed(s, folder, [(old, "ANNE", "Dentiste", 100, old, 60),
                           (recent, "PAUL", "", 25, None, None)])
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.gesture(main, MAIN, ["mnuVoir", "mnuSuivi"])
    window = s.wait_window(FOLLOW_UP_TITLE)
    s.check_equal(steps.copied(s, []), steps.shown(old), "the date of the oldest line")
    s.check_equal(steps.plain(steps.copied(s, ["Right"] * 6)), "40,00 €",
                  "what is awaited of the oldest line")
    s.check_equal(steps.copied(s, ["Right"]), "Mutuelle", "its payer")
    s.check_equal(steps.copied(s, ["Right"]), "45 jours", "its age, in words")

    s.click(window, *FOLLOW_UP["btnApercu"])
    pdf = os.path.join(s.work, "suivi.pdf")
    text = steps.save_preview_as_pdf(s, " Aperçu - Remboursements attendus", pdf)
    for expected in ("Remboursements attendus", steps.shown(old), steps.shown(recent),
                     "Plus de 2 ans", "31 à 60 jours", "45 jours", "ÂGE"):
        s.check(expected in text, "the PDF shows %r: %r" % (expected, text))
    s.screenshot("follow-up")

    s.click(window, *FOLLOW_UP["row1"])
    s.key("Return")
    s.wait_no_window(FOLLOW_UP_TITLE)
    s.activate(main)
    s.type(steps.day(1).strftime("%d%m%y"))
    s.key("Return")
    s.type("40")
    s.key("Return", "Return")
    s.expect_rows(folder + "/TALO.DB",
                  "select Beneficiaire, \"Montant mutuelle\" from TALO "
                  "where \"Date mutuelle\" is not null",
                  [{"Beneficiaire": "ANNE", "Montant mutuelle": 40.0}],
                  "the reimbursement typed after the jump")
    s.quit(talo, main)


run(scenario)
