# A change left pending when the address book or the insured persons' window is closed (a
# telephone number typed, a new doctor not yet posted, a first name completed) is kept by a
# confirmed exit and found at the next start.
from places import BOOK_TITLE, INFOS_TITLE, MAIN_TITLE, BOOK, INFOS, MAIN
from talo_e2e import run


def open_window(s, folder, button="BtnMedecins", title=BOOK_TITLE):
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.click(main, *MAIN[button])
    return talo, main, s.wait_window(title)


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\n"})
    book_db = folder + "/MEDECINS.DB"
    s.sql(book_db, "insert into MEDECINS (Nom, Prenom) values ('DUPONT', 'Jean')")
    s.sql(folder + "/ASSURE.DB", "insert into ASSURE (Nom, Prenom) values ('DUPONT', 'Marie')")

    talo, main, book = open_window(s, folder)
    s.click(book, *BOOK["DBchpTel"])
    s.type("0102030405")
    s.click(book, *BOOK["BtnQuitter"])
    s.quit(talo, main)
    s.expect_rows(book_db, "select Nom, Tel from MEDECINS",
                  [{"Nom": "DUPONT", "Tel": "01-02-03-04-05"}], "the phone typed, after exit")

    talo, main, book = open_window(s, folder)
    s.check_equal(s.copy_text(book, *BOOK["DBchpTel"]), "01-02-03-04-05",
                  "the phone shown at the next start")
    s.key("Insert")
    s.type("legrand")
    s.click(book, *BOOK["BtnQuitter"])
    s.quit(talo, main)
    s.expect_rows(book_db, "select Nom from MEDECINS order by Nom",
                  [{"Nom": "DUPONT"}, {"Nom": "LEGRAND"}], "the new doctor, after exit")

    talo, main, infos = open_window(s, folder, "btnInformations", INFOS_TITLE)
    s.click(infos, *INFOS["DBchpPrenom"])
    s.key("End")
    s.type(" claire")
    s.click(infos, *INFOS["BtnQuitter"])
    s.quit(talo, main)
    s.expect_rows(folder + "/ASSURE.DB", "select Nom, Prenom from ASSURE",
                  [{"Nom": "DUPONT", "Prenom": "Marie Claire"}], "the first name, after exit")


run(scenario)
