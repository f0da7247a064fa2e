# Insert (and the navigator's "+") append a new record from wherever the focus is, in the main
# window and in the address book: the record clicked before stays as it was.
from talo_e2e import run, MAIN, MAIN_TITLE, BOOK, BOOK_TITLE

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
ENTRIES = 'select "Date soins" as date, Beneficiaire, Medecin, Cout from TALO order by Numero'
DOCTORS = "select Nom, Prenom from MEDECINS order by Numero"


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\nPAUL\r\n"})
    talo_db, book_db = folder + "/TALO.DB", folder + "/MEDECINS.DB"
    s.sql(talo_db, 'insert into TALO ("Date soins", Beneficiaire, Medecin, Cout) values ' +
          ",".join("('%s','%s','%s',%g)" % row for row in SEEDED))
    s.sql(book_db, "insert into MEDECINS (Nom, Prenom) values ('DUPONT','Jean'),('MARTIN','Anne')")
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
        rows = s.sql(talo_db, ENTRIES)
        if rows != expected:
            failed.append("main window, %s: TALO.DB holds %s" % (name, rows))
            s.screenshot("main, " + name)
            expected = rows

    s.click(main, *MAIN["BtnMedecins"])
    book = s.wait_window(BOOK_TITLE)
    expected = s.sql(book_db, DOCTORS)
    for n, (name, steps) in enumerate(BOOK_GESTURES.items(), start=1):
        s.gesture(book, BOOK, steps)
        for text in ("nouveau%d" % n, "paul", None, None, None, None, "010203040%d" % n):
            if text:
                s.type(text)
            s.key("Return")
        expected.append({"Nom": "NOUVEAU%d" % n, "Prenom": "Paul"})
        rows = s.sql(book_db, DOCTORS)
        if rows != expected:
            failed.append("address book, %s: MEDECINS.DB holds %s" % (name, rows))
            s.screenshot("address book, " + name)
            expected = rows
    s.check(not failed, "Insert did not append a new record:\n" + "\n".join(failed))


run(scenario)
