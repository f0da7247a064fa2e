# "Rechercher..." with Ctrl+F, from the grid and then from a field: a word typed, Down and
# Enter on the result; the entry comes up in the main window even though the view chosen hid
# it, and the new date typed at once lands in that entry. Then an amount, Enter straight from
# the field of the search window.
from places import MAIN, MAIN_TITLE, SEARCH_TITLE
from talo_e2e import run


def seed(s, folder):
    for date, name, doctor, speciality, cost in [("2023-03-03", "PAUL", "DUPONT", "", 25),
                                                 ("2024-04-10", "PAUL", "MARTIN", "", 12.5),
                                                 ("2024-05-20", "LUCIE", "DUPONT", "Pédiatrie",
                                                  30)]:
        s.sql(folder + "/TALO.DB",
              "insert into TALO (\"Date soins\", Beneficiaire, Medecin, Specialite, Cout, "
              "\"CPAM oui/non\", \"Mutuelle oui/non\") values "
              "('%s', '%s', '%s', '%s', %s, 'Faux', 'Faux')"
              % (date, name, doctor, speciality, cost))


def found(s, typed, keys):
    """Ctrl+F where the caret is, `typed` over what the field offers, then `keys`."""
    s.key("ctrl+f")
    window = s.wait_window(SEARCH_TITLE)
    s.activate(window)
    s.type(typed)
    s.screenshot("search-" + typed)
    s.key(*keys)
    s.wait_no_window(SEARCH_TITLE)


def retype_date(s, main, ddmmyy):
    """The caret waits in the care date: the new date typed at once, Enter to the note, saved."""
    s.activate(main)
    s.type(ddmmyy)
    for _ in range(8):
        s.key("Return")


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nPAUL\r\nLUCIE\r\n"})
    seed(s, folder)
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    # Only PAUL's entries in view.
    s.click(main, *MAIN["lstListeBeneficiaires"])
    s.key("Down", "Return")
    s.click(main, *MAIN["row1"])

    found(s, "pediatrie", ["Down", "Return"])
    s.screenshot("lucie-found")
    retype_date(s, main, "210524")
    s.expect_rows(folder + "/TALO.DB",
                  "select \"Date soins\" from TALO where Beneficiaire = 'LUCIE'",
                  [{"Date soins": "2024-05-21"}], "the date typed in the entry found")

    # The caret is back in the date field: Ctrl+F from there, an amount, Enter in the field.
    found(s, "12,5", ["Return"])
    retype_date(s, main, "110424")
    s.expect_rows(folder + "/TALO.DB",
                  "select \"Date soins\" from TALO where Medecin = 'MARTIN'",
                  [{"Date soins": "2024-04-11"}], "the date typed in the entry of 12,50 €")
    s.quit(talo, main)


run(scenario)
