# " Bilan annuel" from the menu Voir: the first beneficiary's line read, the summary with its
# charts printed to PDF.
import os

import followup_steps as steps
from places import MAIN, MAIN_TITLE, SUMMARY, SUMMARY_TITLE
from talo_e2e import run


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nANNE\r\nPAUL\r\n"})
    first = steps.day(0).replace(month=1, day=2)
    steps.seed(s, folder, [(first, "PAUL", "Dentiste", 100, first, 70),
                           (first, "ANNE", "", 30, None, None)])
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.gesture(main, MAIN, ["mnuVoir", "mnuBilan"])
    window = s.wait_window(SUMMARY_TITLE)
    s.click(window, *SUMMARY["beneficiary1"])
    s.check_equal(steps.copied(s, []), "ANNE", "the first beneficiary")
    s.check_equal(steps.plain(steps.copied(s, ["Right"] * 2)), "30,00 €", "ANNE's cost")

    s.click(window, *SUMMARY["btnApercu"])
    pdf = os.path.join(s.work, "bilan.pdf")
    text = steps.save_preview_as_pdf(s, " Aperçu - Bilan annuel", pdf)
    for expected in ("Bilan annuel (%d)" % first.year, "Par spécialité", "Non précisée",
                     "Dentiste", "Reste à charge"):
        s.check(expected in text, "the PDF shows %r: %r" % (expected, text))
    images = s.tool("pdfimages", "-list", pdf).splitlines()[2:]
    s.check(len(images) >= 2, "the PDF holds both charts: %r" % images)
    s.screenshot("year-summary")
    s.key("Escape")
    s.wait_no_window(SUMMARY_TITLE)
    s.quit(talo, main)


run(scenario)
