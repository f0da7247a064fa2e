# A family's register with some history, and the statement import driven as a person does:
# Fichier > "Importer un relevé bancaire...", the file typed into the file dialog, Alt+C.
import datetime
import time

from places import FILE_MENU, IMPORT_FILE_TITLE, IMPORT_TITLE, MAIN_TITLE

TODAY = datetime.date.today()


def day(days_ago):
    return TODAY - datetime.timedelta(days=days_ago)


def register(s):
    """A program directory whose TALO.DB holds three dozen entries for Élise and Paul: paid
    ones (the history the shares are predicted from) and six still awaited; returns it with
    the row numbers of the awaited ones by name."""
    folder = s.program_dir(files={
        "LSTBENEF.LST": "TOUS\r\nÉLISE\r\nPAUL\r\n".encode("cp1252"),
        "mutuelle.inf": "HARMONIE MUTUELLE\r\n\r\n\r\n\r\n\r\n".encode("cp1252"),
    })
    rows = []
    for i in range(30):
        who = "ÉLISE" if i % 2 else "PAUL"
        care = day(400 - 10 * i)
        paid = care + datetime.timedelta(days=7)
        if i % 5 == 4:  # the dentist: 29,50 € from the C.P.A.M., 15,50 € from the mutuelle
            rows.append((care, who, "LEROY", 45, 45, 29.5, paid, 15.5, paid))
        elif i % 3 == 0:  # the physiotherapist: 60 % of 20 €, nothing withheld
            rows.append((care, who, "ROUX", 20, 20, 12, paid, 8, paid))
        else:           # the family doctor: 70 % of 30 € less 2 €, the mutuelle 9 €
            rows.append((care, who, "MARTIN", 30, 30, 19, paid, 9, paid))
    awaited = {
        "martin_elise": (day(30), "ÉLISE", "MARTIN", 30, 30, None, None, None, None),
        "martin_paul": (day(28), "PAUL", "MARTIN", 30, 30, None, None, None, None),
        "roux_elise": (day(26), "ÉLISE", "ROUX", 20, 20, None, None, None, None),
        "roux_paul": (day(24), "PAUL", "ROUX", 20, 20, None, None, None, None),
        "dupont": (day(22), "ÉLISE", "DUPONT", 50, 50, None, None, None, None),
        "mutuelle_paul": (day(60), "PAUL", "LEROY", 45, 45, 29.5, day(50), None, None),
    }
    values = []
    for r in rows + list(awaited.values()):
        values.append("('%s', '%s', '%s', %s, %s, %s, %s, %s, %s)" % (
            r[0].isoformat(), r[1], r[2], r[3], r[4], _num(r[5]), _date(r[6]), _num(r[7]),
            _date(r[8])))
    s.sql(folder + "/TALO.DB",
          'insert into TALO ("Date soins", Beneficiaire, Medecin, Cout, Base, "Montant CPAM", '
          '"Date CPAM", "Montant mutuelle", "Date mutuelle") values ' + ", ".join(values))
    numbers = {}
    for name, r in awaited.items():
        found = s.sql(folder + "/TALO.DB",
                      "select Numero from TALO where \"Date soins\" = '%s' and Medecin = '%s' "
                      "and Beneficiaire = '%s'" % (r[0].isoformat(), r[2], r[1]))
        numbers[name] = found[0]["Numero"]
    return folder, numbers


def _num(v):
    return "null" if v is None else str(v)


def _date(d):
    return "null" if d is None else "'%s'" % d.isoformat()


# The statement: three C.P.A.M. payments settling five entries (the first for both people),
# one mutuelle payment, a salary, a debit, and a C.P.A.M. payment nothing fits.
def operations():
    return [
        (day(10), 38.00, "VIR CPAM DE PARIS REMB SOINS", "T1"),
        (day(9), 24.00, "VIR CPAM DE PARIS REMB SOINS", "T2"),
        (day(8), 33.00, "VIR CPAM DE PARIS REMB SOINS", "T3"),
        (day(7), 15.50, "VIR HARMONIE MUTUELLE REMBT", "T4"),
        (day(6), 2150.00, "VIR SALAIRE SOCIETE DUPUIS", "T5"),
        (day(5), -54.20, "PRLV SEPA EDF", "T6"),
        (day(4), 77.77, "VIR CPAM DE PARIS REMB SOINS", "T7"),
    ]


# Each awaited entry's payer date and amount once the statement is confirmed.
def expected(numbers):
    d = lambda n: day(n).isoformat()
    return {
        numbers["martin_elise"]: (d(10), 19.0, None, None),
        numbers["martin_paul"]: (d(10), 19.0, None, None),
        numbers["roux_elise"]: (d(9), 12.0, None, None),
        numbers["roux_paul"]: (d(9), 12.0, None, None),
        numbers["dupont"]: (d(8), 33.0, None, None),
        numbers["mutuelle_paul"]: (day(50).isoformat(), 29.5, d(7), 15.5),
    }


def state(s, folder, numbers):
    """The awaited entries' payer columns, and the expected reimbursements in cents."""
    rows = {}
    for r in s.sql(folder + "/TALO.DB",
                   'select Numero, "Date CPAM" as dc, "Montant CPAM" as mc, '
                   '"Date mutuelle" as dm, "Montant mutuelle" as mm from TALO where Numero in '
                   "(%s)" % ",".join(str(n) for n in numbers.values())):
        rows[r["Numero"]] = (r["dc"], r["mc"], r["dm"], r["mm"])
    awaited = s.sql(folder + "/TALO.DB", "select sum(Attendu) as a from TALO_TOTAUX")[0]["a"]
    kept = s.sql(folder + "/TALO.DB",
                 "select count(*) as n from sqlite_master where name = 'TALO_RELEVES'")
    ledger = (s.sql(folder + "/TALO.DB", "select count(*) as n from TALO_RELEVES")[0]["n"]
              if kept[0]["n"] else 0)
    return rows, awaited, ledger


def import_file(s, main, path):
    """The statement chosen through the menu and the file dialog; returns the import window."""
    s.file_menu(main, "mnuImporterReleve")
    s.wait_window(IMPORT_FILE_TITLE)
    s.key("ctrl+a")
    s.type(path)
    s.key("Return")


def run_import(s, folder, numbers, path, columns=None):
    """Imports `path`, confirms with Alt+C, checks what was written; imports it again and
    checks that nothing changes."""
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    before_rows, before_awaited, _ = state(s, folder, numbers)
    import_file(s, main, path)
    if columns:
        columns(s)
    window = s.wait_window(IMPORT_TITLE)
    s.activate(window)
    s.screenshot("import-window")
    # Enter in the payments grid confirms nothing.
    s.key("Return")
    time.sleep(0.5)
    s.check(s.windows(IMPORT_TITLE), "the import window still open after Enter")
    s.check_equal(state(s, folder, numbers)[0], before_rows, "nothing written by Enter")
    s.key("alt+c")
    s.wait_no_window(IMPORT_TITLE)
    rows, awaited, ledger = state(s, folder, numbers)
    s.check_equal(rows, expected(numbers), "the payer columns written")
    written = 19 + 19 + 12 + 12 + 33 + 15.5
    # The 2 € the C.P.A.M. withholds on each doctor's share written (MARTIN twice, DUPONT) are
    # no longer awaited; LEROY's were not awaited from the mutuelle before.
    withheld = 2 + 2 + 2 - 2
    s.check_equal(before_awaited - awaited, round((written + withheld) * 100),
                  "Remboursements attendus fell by what was written and withheld")
    s.check_equal(ledger, 4, "the statement lines kept as applied")

    # The same file again: every payment shown as done, nothing to confirm.
    import_file(s, main, path)
    window = s.wait_window(IMPORT_TITLE)
    s.activate(window)
    s.screenshot("import-again")
    s.key("alt+c")
    s.key("Escape")
    s.wait_no_window(IMPORT_TITLE)
    s.check_equal(state(s, folder, numbers), (rows, awaited, ledger), "nothing changed")
    s.quit(talo, main)
