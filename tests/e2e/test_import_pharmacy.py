# Two pharmacy cares of two people paid by one C.P.A.M. transfer (Élise's 65 % less 2 € for two
# boxes, Léa's 65 % with nothing withheld for a child: one split only), and a transfer that pays
# none of the awaited cares: the window says it is left aside, Alt+C writes the grouped one
# alone, and nothing for the other.
import arithmetic_steps as a
import import_steps
from import_steps import day, ofx
from places import IMPORT_TITLE, MAIN_TITLE
from talo_e2e import run

LABEL = "VIR SEPA CPAM DE LA GIRONDE REMBOURSEMENT SOINS"


def scenario(s):
    awaited = {
        "elise_pharmacie": a.entry(day(20), "ÉLISE", "PHARMACIE DU CENTRE", 23.80),
        "lea_pharmacie": a.entry(day(20), "LÉA", "PHARMACIE DU CENTRE", 9.60),
        "paul_roux": a.entry(day(25), "PAUL", "ROUX", 20.0),
        "tom_martin": a.entry(day(40), "TOM", "MARTIN", 30.0),
    }
    folder, numbers = a.register(s, awaited)
    grouped = (a.cpam_share("ÉLISE", "PHARMACIE DU CENTRE", 23.80, units=2) +
               a.cpam_share("LÉA", "PHARMACIE DU CENTRE", 9.60))
    s.check_equal(grouped, 1347 + 624, "the grouped transfer as the C.P.A.M. computes it")
    path = a.write(s, "releve.ofx", ofx([
        (day(14), grouped / 100, LABEL, "F1"),
        (day(12), 7.77, LABEL, "F2"),
        (day(10), 2150.00, "VIR SALAIRE SOCIETE DUPUIS", "F3"),
        (day(9), -54.20, "PRLV SEPA EDF", "F4"),
    ]))
    before = a.payers(s, folder, numbers)
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    a.open_import(s, main, path)
    s.screenshot("pharmacie")
    s.check_equal(import_steps.payment_state(s, 0), "sûr", "the grouped transfer's state")
    s.check_equal(import_steps.payment_state(s, 1), "aucun soin attendu ne correspond : laissé de côté",
                  "the transfer that pays nothing awaited")
    s.key("alt+c")
    s.wait_no_window(IMPORT_TITLE)
    d14 = day(14).isoformat()
    expected = dict(before)
    expected["elise_pharmacie"] = (d14, 1347, None, None)
    expected["lea_pharmacie"] = (d14, 624, None, None)
    s.check_equal(a.payers(s, folder, numbers), expected, "the payer columns written")
    s.check_equal(a.ledger_lines(s, folder), 1, "the grouped transfer alone kept as applied")
    s.quit(talo, main)


run(scenario)
