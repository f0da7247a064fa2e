# The mutuelle's name typed in "Informations" just before the import, never saved yet: its
# transfers are recognised at once. The statement comes as OFX (labels cut at 32 characters,
# FITIDs) and is confirmed; the same lines then come as the bank's CSV (whole labels, no
# identifiers, newest first): every payment is found already applied, and nothing is written
# twice.
import arithmetic_steps as a
import import_steps
from import_steps import day, ofx
from places import IMPORT_TITLE, INFOS, INFOS_TITLE, MAIN, MAIN_TITLE
from talo_e2e import run

MUTUELLE = "VIR SEPA HARMONIE MUTUELLE REMBOURSEMENT FRAIS DE SANTE REF %d"
CPAM = "VIR SEPA CPAM DE LA GIRONDE REMBOURSEMENT SOINS ASSURE"


def copied_payer(s, row):
    return import_steps.copied(s, "ctrl+Home", *(["Down"] * row), "End", "Left", "Left")


def scenario(s):
    awaited = {
        # The C.P.A.M. has paid; the mutuelle owes the rest of the base.
        "elise": a.entry(day(30), "ÉLISE", "MARTIN", 30.0,
                         cpam=(a.cpam_share("ÉLISE", "MARTIN", 30.0), 5)),
        "paul": a.entry(day(28), "PAUL", "ROUX", 20.0,
                        cpam=(a.cpam_share("PAUL", "ROUX", 20.0), 5)),
        "lea": a.entry(day(15), "LÉA", "MARTIN", 30.0),
    }
    folder, numbers = a.register(s, awaited, mutuelle_name=None)
    lines = [
        (day(16), a.mutuelle_share("MARTIN", 30.0) / 100, MUTUELLE % 88412, "M1"),
        (day(14), a.mutuelle_share("ROUX", 20.0) / 100, MUTUELLE % 88413, "M2"),
        (day(9), a.cpam_share("LÉA", "MARTIN", 30.0) / 100, CPAM, "C1"),
        (day(8), 2150.00, "VIR SALAIRE SOCIETE DUPUIS", "S1"),
        (day(6), -54.20, "PRLV SEPA EDF", "D1"),
    ]
    ofx_path = a.write(s, "releve.ofx", ofx(lines))
    csv_path = a.write(s, "releve.csv", a.csv(lines))

    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.click(main, *MAIN["btnInformations"])
    infos = s.wait_window(INFOS_TITLE)
    s.click(infos, *INFOS["chpOrganisme"])
    s.key("Tab", "Tab", "Tab", "Tab")  # the mutuelle's name, after the four S.S. lines
    s.type("Harmonie Mutuelle")
    s.click(infos, *INFOS["BtnQuitter"])
    saved = s.read(folder + "/mutuelle.inf") if s.exists(folder + "/mutuelle.inf") else b""
    s.check(b"Harmonie" not in saved, "the name not saved yet: %r" % saved)

    a.open_import(s, main, ofx_path)
    s.screenshot("ofx")
    # Recognised as the mutuelle's; a transfer the rules leave to the person is taken by 1.
    for row in (0, 1):
        s.check_equal(copied_payer(s, row), "Mutuelle", "the payer of transfer %d" % row)
    import_steps.choose_where_asked(s, 3)
    s.key("alt+c")
    s.wait_no_window(IMPORT_TITLE)
    written = {
        "elise": (day(25).isoformat(), 1900, day(16).isoformat(), 900),
        "paul": (day(23).isoformat(), 1100, day(14).isoformat(), 800),
        "lea": (day(9).isoformat(), 2100, None, None),
    }
    s.check_equal(a.payers(s, folder, numbers), written, "the OFX's payments written")
    s.check_equal(a.ledger_lines(s, folder), 3, "three lines kept as applied")

    a.open_import(s, main, csv_path)
    s.screenshot("csv-apres-ofx")
    for row in range(3):
        state = import_steps.payment_state(s, row)
        s.check(state.startswith("déjà enregistré le "), "CSV payment %d: %r" % (row, state))
    s.key("alt+c")  # disabled: nothing to write
    s.key("Escape")
    s.wait_no_window(IMPORT_TITLE)
    s.check_equal(a.payers(s, folder, numbers), written, "nothing written twice")
    s.check_equal(a.ledger_lines(s, folder), 3, "no line kept twice")
    s.quit(talo, main)


run(scenario)
