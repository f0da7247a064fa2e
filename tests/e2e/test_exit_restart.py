# First start, an entry for a new beneficiary, a doctor and the insurer's name typed, a
# confirmed exit: the next start finds everything, without the first-run message, and writes
# it back unchanged.
from places import APP_TITLE, BOOK_TITLE, INFOS_TITLE, MAIN_TITLE, BOOK, INFOS, MAIN
from talo_e2e import run


def scenario(s):
    folder = s.program_dir()
    talo = s.start(folder, wait_main=False)
    box, text = s.message(timeout=30)
    s.check_equal(text, "Fichier LSTBENEF.LST introuvable. Normal si c'est la première fois "
                        "que vous exécutez Talo 3.0", "the first-run message")
    s.answer(box)
    main = s.wait_window(MAIN_TITLE)
    s.key("Insert")
    s.type_entry("070524", "lucie", "martin", "42,10", "radio")
    s.click(main, *MAIN["BtnMedecins"])
    book = s.wait_window(BOOK_TITLE)
    s.key("Insert")
    for text in ("martin", "anne", "radiologue", "3 rue haute", "lyon", "69001"):
        s.type(text)
        s.key("Return")
    s.type("0478000000")
    s.key("Return")
    s.click(book, *BOOK["BtnQuitter"])
    s.click(main, *MAIN["btnInformations"])
    infos = s.wait_window(INFOS_TITLE)
    s.click(infos, *INFOS["chpOrganisme"])
    s.type("CPAM du Rhone")
    s.click(infos, *INFOS["BtnQuitter"])
    s.check_equal(s.quit(talo, main), 0, "exit status")
    insurer = s.read(folder + "/talosoc.inf")
    s.check(insurer.startswith(b"CPAM du Rhone\r\n"), "talosoc.inf after exit: %r" % insurer)

    entries = 'select "Date soins" as date, Beneficiaire, Medecin, Cout from TALO'
    doctors = 'select Nom, Prenom, Specialite, Adresse, Ville, "Code postale" as cp, Tel ' \
              'from MEDECINS'
    saved = {
        entries: [{"date": "2024-05-07", "Beneficiaire": "LUCIE", "Medecin": "MARTIN",
                   "Cout": 42.1}],
        doctors: [{"Nom": "MARTIN", "Prenom": "Anne", "Specialite": "Radiologue",
                   "Adresse": "3 rue haute", "Ville": "Lyon", "cp": "69001",
                   "Tel": "04-78-00-00-00"}],
    }
    for query, rows in saved.items():
        s.expect_rows(folder + ("/TALO.DB" if "TALO" in query else "/MEDECINS.DB"), query, rows,
                      "the data after exit")
    names = b"TOUS\r\nLUCIE\r\n"
    s.check_equal(s.read(folder + "/LSTBENEF.LST"), names, "LSTBENEF.LST after exit")

    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.check(not s.windows(APP_TITLE, dialog=True), "a message at the second start")
    s.check_equal(s.copy_text(main, *MAIN["DBBeneficiaire"]), "LUCIE", "the entry shown")
    s.check_equal(s.quit(talo, main), 0, "exit status of the second run")
    s.check_equal(s.read(folder + "/LSTBENEF.LST"), names, "LSTBENEF.LST after the second run")
    s.check_equal(s.read(folder + "/talosoc.inf"), insurer, "talosoc.inf after the second run")
    for query, rows in saved.items():
        s.expect_rows(folder + ("/TALO.DB" if "TALO" in query else "/MEDECINS.DB"), query, rows,
                      "the data after the second run")


run(scenario)
