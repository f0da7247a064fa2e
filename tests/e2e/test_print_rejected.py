# A print that the default queue refuses (cupsreject) is reported in French, with the
# printer's name, instead of passing in silence.
from places import MAIN_TITLE, MAIN
import rigs
from talo_e2e import run

QUEUE = "Bureau"


def scenario(s):
    server = rigs.private_cups(s)
    for argv in (["lpadmin", "-h", server, "-p", QUEUE, "-E", "-v", "cups-pdf:/", "-P",
                  "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"],
                 ["lpadmin", "-h", server, "-d", QUEUE],
                 ["cupsreject", "-h", server, QUEUE]):
        s.tool("/usr/sbin/" + argv[0], *argv[1:])
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\n"})
    s.sql(folder + "/TALO.DB", "insert into TALO (\"Date soins\", Beneficiaire, Cout) "
                               "values ('2024-01-10', 'MARIE', 25)")
    talo = s.start(folder, env={"CUPS_SERVER": server})
    main = s.wait_window(MAIN_TITLE)
    s.click(main, *MAIN["btnImprimer"])
    box, text = s.message(timeout=20)
    s.check(QUEUE in text and "imprim" in text.lower(),
            "the message names the printer and says it could not print: %r" % text)
    s.answer(box)
    s.quit(talo, main)


run(scenario)
