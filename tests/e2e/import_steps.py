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


def payer_columns(s, folder, numbers):
    """The entries' payer columns by row number: (C.P.A.M. date, amount, mutuelle date,
    amount) as TALO.DB holds them."""
    rows = {}
    for r in s.sql(folder + "/TALO.DB",
                   'select Numero, "Date CPAM" as dc, "Montant CPAM" as mc, '
                   '"Date mutuelle" as dm, "Montant mutuelle" as mm from TALO where Numero in '
                   "(%s)" % ",".join(str(n) for n in numbers.values())):
        rows[r["Numero"]] = (r["dc"], r["mc"], r["dm"], r["mm"])
    return rows


def state(s, folder, numbers):
    """The awaited entries' payer columns, and the expected reimbursements in cents."""
    rows = payer_columns(s, folder, numbers)
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


def copied(s, *keys):
    """The text of the current cell after `keys`, as a person copies it with Ctrl+C."""
    marker = "(nothing copied)"
    s.hold_clipboard(marker)
    s.key(*keys, "ctrl+c")
    return s.wait_for(lambda: s.clipboard() not in ("", marker) and s.clipboard(),
                      "the cell's text on Ctrl+C", timeout=5)


def payment_state(s, row):
    """The state of the payment on `row` (from 0) of the payments grid, which has the focus."""
    return copied(s, "ctrl+Home", *(["Down"] * row), "End")


def choose_where_asked(s, count):
    """The digit 1 on each of the first `count` payments "à choisir": their first proposal
    taken, as a person who checked it."""
    for row in range(count):
        if payment_state(s, row).startswith("à choisir"):
            s.key("1")


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
    choose_where_asked(s, 5)
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


def ofx(operations):
    """OFX 1.x as banks export it: NAME holds the first 32 characters of the label."""
    body = ""
    for when, amount, label, fitid in operations:
        body += ("<STMTTRN>\r\n<TRNTYPE>%s\r\n<DTPOSTED>%s\r\n<TRNAMT>%.2f\r\n<FITID>%s\r\n"
                 "<NAME>%s\r\n</STMTTRN>\r\n" % ("CREDIT" if amount > 0 else "DEBIT",
                                                 when.strftime("%Y%m%d"), amount, fitid,
                                                 label[:32]))
    return ("OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\n"
            "ENCODING:USASCII\r\nCHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\n"
            "NEWFILEUID:NONE\r\n\r\n<OFX>\r\n<SIGNONMSGSRSV1>\r\n<SONRS>\r\n<STATUS>\r\n"
            "<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n<DTSERVER>20240401080000\r\n"
            "<LANGUAGE>FRA\r\n</SONRS>\r\n</SIGNONMSGSRSV1>\r\n<BANKMSGSRSV1>\r\n<STMTTRNRS>\r\n"
            "<TRNUID>0\r\n<STATUS>\r\n<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n<STMTRS>\r\n"
            "<CURDEF>EUR\r\n<BANKACCTFROM>\r\n<BANKID>30004\r\n<BRANCHID>00123\r\n"
            "<ACCTID>00012345678\r\n<ACCTTYPE>CHECKING\r\n</BANKACCTFROM>\r\n<BANKTRANLIST>\r\n"
            "<DTSTART>20240301\r\n<DTEND>20240331\r\n" + body +
            "</BANKTRANLIST>\r\n<LEDGERBAL>\r\n<BALAMT>1523.42\r\n<DTASOF>20240331\r\n"
            "</LEDGERBAL>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n"
            ).encode("cp1252")
