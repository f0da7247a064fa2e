# Insert (and the navigator's "+") append a new record from wherever the focus is, in the main
# window and in the address book: the record clicked before stays as it was.
import os
import time

from places import BOOK_TITLE, INFOS_TITLE, MAIN_TITLE, BOOK, INFOS, MAIN
from talo_e2e import run, scaled

SEEDED = [("2024-01-10", "MARIE", "DUPONT", 25.0), ("2024-02-11", "PAUL", "MARTIN", 30.0),
          ("2024-03-12", "MARIE", "DURAND", 50.0)]
MAIN_GESTURES = {
    "row clicked, Insert": ["row1", "Insert"],
    "row clicked, navigator +": ["row1", "navInsert"],
    "row clicked, edit clicked, Insert": ["row2", "DBBeneficiaire", "Insert"],
    "selector opened and closed, Insert": ["row1", "lstListeBeneficiaires", "Escape", "Insert"],
    "navigator's first clicked, Insert": ["navFirst", "Insert"],
}
BOOK_GESTURES = {
    "row clicked, Insert": ["row1", "Insert"],
    "row clicked, navigator +, name clicked": ["row1", "navInsert", "DBchpNom"],
}
INSURED_GESTURES = {
    "row clicked, Insert": ["row1", "Insert"],
    "row clicked, navigator +": ["row1", "navInsert"],
}
ENTRIES = 'select "Date soins" as date, Beneficiaire, Medecin, Cout from TALO order by Numero'
DOCTORS = "select Nom, Prenom from MEDECINS order by Numero"
INSURED = "select Nom, Prenom from ASSURE order by Numero"


def settled(s, database, query, expected, timeout=5):
    """The rows once they equal `expected`, or as they stand after `timeout` seconds: a loaded
    machine may still be posting when the last key has been sent."""
    deadline = time.monotonic() + scaled(timeout)
    while True:
        rows = s.sql(database, query)
        if rows == expected or time.monotonic() > deadline:
            return rows
        time.sleep(0.1)


def appended(s, label, window, places, gestures, database, query, fields):
    """Each gesture, then a new record typed (Enter from field to field, the last Enter posts):
    the failures, each with what the table then holds."""
    failed, expected = [], s.sql(database, query)
    for n, (name, steps) in enumerate(gestures.items(), start=1):
        s.gesture(window, places, steps)
        for text in fields(n):
            if text:
                s.type(text)
            s.key("Return")
        expected.append({"Nom": "NOUVEAU%d" % n, "Prenom": "Paul"})
        rows = settled(s, database, query, expected)
        if rows != expected:
            failed.append("%s, %s: %s holds %s" % (label, name, os.path.basename(database), rows))
            s.screenshot("%s, %s" % (label, name))
            expected = rows
    return failed


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\nPAUL\r\n"})
    talo_db, book_db = folder + "/TALO.DB", folder + "/MEDECINS.DB"
    s.sql(talo_db, 'insert into TALO ("Date soins", Beneficiaire, Medecin, Cout) values ' +
          ",".join("('%s','%s','%s',%g)" % row for row in SEEDED))
    for table, db in (("MEDECINS", book_db), ("ASSURE", folder + "/ASSURE.DB")):
        s.sql(db, "insert into %s (Nom, Prenom) values ('DUPONT','Jean'),('MARTIN','Anne')" % table)
    s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    failed = []
    # After a failure the next gesture starts from what the table then holds.
    expected = [dict(date=d, Beneficiaire=b, Medecin=m, Cout=c) for d, b, m, c in SEEDED]
    for n, (name, steps) in enumerate(MAIN_GESTURES.items(), start=1):
        s.gesture(main, MAIN, steps)
        s.type_entry("0%d0624" % n, "paul", "nouveau%d" % n, "1%d" % n, "note")
        expected.append(dict(date="2024-06-0%d" % n, Beneficiaire="PAUL",
                             Medecin="NOUVEAU%d" % n, Cout=10.0 + n))
        rows = settled(s, talo_db, ENTRIES, expected)
        if rows != expected:
            failed.append("main window, %s: TALO.DB holds %s" % (name, rows))
            s.screenshot("main, " + name)
            expected = rows

    s.click(main, *MAIN["BtnMedecins"])
    book = s.wait_window(BOOK_TITLE)
    failed += appended(s, "address book", book, BOOK, BOOK_GESTURES, book_db, DOCTORS,
                       lambda n: ("nouveau%d" % n, "paul", None, None, None, None,
                                  "010203040%d" % n))
    s.click(book, *BOOK["BtnQuitter"])
    s.click(main, *MAIN["btnInformations"])
    infos = s.wait_window(INFOS_TITLE)
    failed += appended(s, "insured persons", infos, INFOS, INSURED_GESTURES,
                       folder + "/ASSURE.DB", INSURED,
                       lambda n: ("nouveau%d" % n, "paul", None, None, None, None))
    s.check(not failed, "Insert did not append a new record:\n" + "\n".join(failed))


run(scenario)
