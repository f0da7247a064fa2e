# Insert (and the navigator's "+") append a new record from wherever the focus is, in the main
# window and in the address book: the record clicked before stays as it was.
from talo_e2e import run, MAIN, MAIN_TITLE, BOOK, BOOK_TITLE

SEEDED = [("2024-01-10", "MARIE", "DUPONT", 25.0), ("2024-02-11", "PAUL", "MARTIN", 30.0),
          ("2024-03-12", "MARIE", "DURAND", 50.0)]


def entries(rows):
    return [{"date": d, "Beneficiaire": b, "Medecin": m, "Cout": c} for d, b, m, c in rows]


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\nPAUL\r\n"})
    talo_db, book_db = folder + "/TALO.DB", folder + "/MEDECINS.DB"
    s.sql(talo_db, 'insert into TALO ("Date soins", Beneficiaire, Medecin, Cout) values ' +
          ",".join("('%s','%s','%s',%g)" % row for row in SEEDED))
    s.sql(book_db, "insert into MEDECINS (Nom, Prenom) values ('DUPONT','Jean'),('MARTIN','Anne')")
    main = s.start(folder) and s.wait_window(MAIN_TITLE)

    gestures = {
        "row clicked, Insert": [("click", "row1"), ("key", "Insert")],
        "row clicked, navigator +": [("click", "row1"), ("click", "navInsert")],
        "edit clicked, Insert": [("click", "row2"), ("click", "DBBeneficiaire"), ("key", "Insert")],
        "selector opened and closed, Insert": [("click", "row1"), ("click", "lstListeBeneficiaires"),
                                               ("key", "Escape"), ("key", "Insert")],
        "navigator first, Insert": [("click", "navFirst"), ("key", "Insert")],
    }
    expected, failed = list(SEEDED), []
    for n, (name, steps) in enumerate(gestures.items(), start=1):
        for kind, what in steps:
            s.click(main, *MAIN[what]) if kind == "click" else s.key(what)
        doctor = "NOUVEAU%d" % n
        s.type_entry("0%d0624" % n, "paul", doctor.lower(), "1%d" % n, "note")
        expected.append(("2024-06-0%d" % n, "PAUL", doctor, 10.0 + n))
        rows = s.sql(talo_db, 'select "Date soins" as date, Beneficiaire, Medecin, Cout '
                              "from TALO order by Numero")
        if rows != entries(expected):
            failed.append("%s: TALO.DB holds %s" % (name, rows))
            s.screenshot("main-" + name.replace(" ", "-"))
            expected = [(r["date"], r["Beneficiaire"], r["Medecin"], r["Cout"]) for r in rows]

    s.click(main, *MAIN["BtnMedecins"])
    book = s.wait_window(BOOK_TITLE)
    book_expected = [{"Nom": "DUPONT", "Prenom": "Jean"}, {"Nom": "MARTIN", "Prenom": "Anne"}]
    for n, (name, steps) in enumerate({"row clicked, Insert": ["row1", "Insert"],
                                       "row clicked, navigator +, name clicked":
                                       ["row1", "navInsert", "DBchpNom"]}.items(),
                                      start=1):
        for what in steps:
            s.click(book, *BOOK[what]) if what in BOOK else s.key(what)
        s.type("nouveau%d" % n)
        s.key("Return")
        s.type("paul")
        for _ in range(5):
            s.key("Return")
        s.type("010203040%d" % n)
        s.key("Return")
        book_expected.append({"Nom": "NOUVEAU%d" % n, "Prenom": "Paul"})
        rows = s.sql(book_db, "select Nom, Prenom from MEDECINS order by Numero")
        if rows != book_expected:
            failed.append("address book, %s: MEDECINS.DB holds %s" % (name, rows))
            s.screenshot("book-" + name.replace(" ", "-"))
            book_expected = rows
    s.check(not failed, "Insert did not append a new record:\n" + "\n".join(failed))


run(scenario)
