# Léa and Tom saw the doctor the same day; the C.P.A.M. pays each child 70 % of 30 €, nothing
# withheld, in two transfers of 21,00 €: either may be either child's, so both are "à choisir"
# and nothing is preselected. The digit 2 on the first takes its second proposal; the second
# transfer takes the child left. Alt+C writes each child's share on the transfer chosen.
import arithmetic_steps as a
import import_steps
from import_steps import day
from places import IMPORT_TITLE, MAIN_TITLE
from talo_e2e import run

LABEL = "VIR SEPA CPAM DE LA GIRONDE REMBOURSEMENT SOINS"


def scenario(s):
    awaited = {
        "lea": a.entry(day(15), "LÉA", "MARTIN", 30.0),
        "tom": a.entry(day(15), "TOM", "MARTIN", 30.0),
        "elise": a.entry(day(15), "ÉLISE", "MARTIN", 30.0),
    }
    folder, numbers = a.register(s, awaited)
    share = a.cpam_share("LÉA", "MARTIN", 30.0)
    s.check_equal(share, 2100, "a child's share of a consultation")
    path = a.write(s, "releve.csv", a.csv([
        (day(8), share / 100, LABEL, ""),
        (day(7), share / 100, LABEL, ""),
    ]))
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    a.open_import(s, main, path)
    s.screenshot("a-choisir")
    # Newest first in the CSV: row 0 is the transfer of day(7).
    for row in (0, 1):
        s.check_equal(import_steps.payment_state(s, row), "à choisir : touche 1 à 2",
                      "transfer %d before the choice" % row)
    s.key("ctrl+Home", "2")
    s.screenshot("choisi")
    s.check_equal(import_steps.payment_state(s, 0), "choisi", "the transfer chosen by its digit")
    s.check_equal(import_steps.payment_state(s, 1), "seul possible une fois les autres choisis",
                  "the other transfer, left with one child")
    # Whose care the first transfer now pays: its parts, Tab from the payments (the proposals,
    # "Choisir les soins...", the parts), the beneficiary's cell.
    s.key("ctrl+Home")
    child = import_steps.copied(s, "Tab", "Tab", "Tab", "Home", "Right")
    s.check(child in ("LÉA", "TOM"), "a child in the parts of the first transfer: %r" % child)
    other = "tom" if child == "LÉA" else "lea"
    s.key("alt+c")
    s.wait_no_window(IMPORT_TITLE)
    rows = a.payers(s, folder, numbers)
    s.check_equal(rows, {child.replace("É", "E").lower(): (day(7).isoformat(), 2100, None, None),
                         other: (day(8).isoformat(), 2100, None, None),
                         "elise": (None, None, None, None)}, "each child paid once")
    s.check_equal(a.ledger_lines(s, folder), 2, "both transfers kept as applied")
    s.quit(talo, main)


run(scenario)
