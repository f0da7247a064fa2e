# The keys every data window shares, in the doctors' address book: Insert, Enter from field to
# field, Enter on the telephone writes the row; Escape drops a change being typed; Up and Down
# browse from a field, and the row written survives the next start.
from places import BOOK_TITLE, MAIN_TITLE, BOOK, MAIN
from talo_e2e import run


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\n"})
    book_db = folder + "/MEDECINS.DB"
    s.sql(book_db, "insert into MEDECINS (Nom, Prenom) values ('DUPONT', 'Jean')")
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.click(main, *MAIN["BtnMedecins"])
    book = s.wait_window(BOOK_TITLE)

    s.click(book, *BOOK["row1"])
    s.key("Insert")
    for text in ("martin", "paul", "dentiste", "3 rue haute", "lyon", "69003", "0478123456"):
        s.type(text)
        s.key("Return")
    s.expect_rows(book_db, "select Nom, \"Code postale\" as cp, Tel from MEDECINS order by Nom",
                  [{"Nom": "DUPONT", "cp": None, "Tel": None},
                   {"Nom": "MARTIN", "cp": "69003", "Tel": "04-78-12-34-56"}],
                  "Enter on the telephone wrote the row")

    s.click(book, *BOOK["DBchpTel"])
    s.type("0000000000")
    s.key("Escape")
    s.key("Up")
    s.check_equal(s.copy_text(book, *BOOK["DBchpNom"]), "DUPONT", "Up from a field browsed")
    s.key("Down")
    s.check_equal(s.copy_text(book, *BOOK["DBchpTel"]), "04-78-12-34-56",
                  "Escape dropped the number being typed")
    s.check(book in s.windows(BOOK_TITLE), "Escape left the window open")
    s.click(book, *BOOK["BtnQuitter"])
    s.quit(talo, main)
    s.expect_rows(book_db, "select Nom, Tel from MEDECINS order by Nom",
                  [{"Nom": "DUPONT", "Tel": None}, {"Nom": "MARTIN", "Tel": "04-78-12-34-56"}],
                  "the rows after exit")


run(scenario)
