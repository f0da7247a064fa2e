# A bank's CSV whose titles the program cannot tell ("Jour", "Intitulé", "EUR"): the person is
# shown its first lines and says by keyboard which column is the date, the label and the signed
# amount; the import proceeds, and the choice kept in talo.ini [ReleveColonnes] reads the next
# file of that bank without asking again.
import datetime
import os

import import_steps
from places import IMPORT_COLUMNS_TITLE, MAIN_TITLE
from talo_e2e import run


def csv_bytes(operations):
    lines = ["Jour;Intitulé;EUR"]
    for when, amount, label, _ in operations:
        lines.append("%s;%s;%s" % (when.strftime("%d/%m/%Y"), label,
                                   ("%.2f" % amount).replace(".", ",")))
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def choose_columns(s):
    s.activate(s.wait_window(IMPORT_COLUMNS_TITLE))
    s.screenshot("colonnes")
    # Each list starts on "(aucune)": Down once for column 1, twice for 2, three times for 3;
    # the first operation is already the line after the titles.
    s.key("Down", "Tab", "Down", "Down", "Tab", "Down", "Down", "Down")
    s.key("alt+v")


def scenario(s):
    folder, numbers = import_steps.register(s)
    path = os.path.join(s.work, "export-banque.csv")
    with open(path, "wb") as f:
        f.write(csv_bytes(import_steps.operations()))
    asked = s.watch(IMPORT_COLUMNS_TITLE)
    import_steps.run_import(s, folder, numbers, path, columns=choose_columns)
    s.check(asked(), "the columns asked for the first file")
    ini = s.read(os.path.join(folder, "talo.ini")).decode("cp1252")
    s.check("[ReleveColonnes]" in ini and "date=1;libelle=2;montant=3" in ini,
            "the choice kept in talo.ini:\n" + ini)

    # The bank's next statement, read without a question: it holds no payment to import.
    later = os.path.join(s.work, "export-banque-suivant.csv")
    with open(later, "wb") as f:
        f.write(csv_bytes([(import_steps.day(1), 2150.0, "VIR SALAIRE SOCIETE DUPUIS", ""),
                           (import_steps.day(0), -12.5, "CB BOULANGERIE", "")]))
    asked_again = s.watch(IMPORT_COLUMNS_TITLE)
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    import_steps.import_file(s, main, later)
    box = s.message()
    s.check("aucun paiement" in box[1], "the next statement read: %r" % (box,))
    s.answer(box[0])
    s.check(not asked_again(), "the columns not asked again")
    s.quit(talo, main)


run(scenario)
