# The register as filtered in the main window, exported through the menu and the file dialog,
# read back with Python's csv module cell by cell: quotes, semicolons, line breaks, a text that
# looks like a formula, accents, empty fields, amounts and dates in the French forms.
import csv
import os
import time

from places import APP_TITLE, EXPORT_FILE_TITLE, EXPORT_TITLE, MAIN, MAIN_TITLE
from talo_e2e import run, scaled


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": "TOUS\r\nÉLISE\r\nPAUL\r\n".encode("cp1252")})
    s.sql(folder + "/TALO.DB",
          'insert into TALO ("Date soins", Beneficiaire, Medecin, Cout, Base, "Montant CPAM", '
          '"Note soins") values '
          "('2024-01-10', 'ÉLISE', '=1+1', 1234.5, 100, 70, 'dit \"oui\"; puis' || char(13, 10) || 'non'), "
          "('2024-02-11', 'PAUL', 'Dr Blanc', 30, null, null, ''), "
          "('2024-03-12', 'ÉLISE', 'Dr Çava', 0.4, null, null, null)")
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    # Only Élise's entries in view.
    s.click(main, *MAIN["lstListeBeneficiaires"])
    s.key("Down", "Return")
    s.file_menu(main, "mnuExporter")
    s.wait_window(EXPORT_TITLE)
    s.key("Return")
    s.wait_window(EXPORT_FILE_TITLE)
    path = os.path.join(s.work, "Soins Elise.csv")
    s.key("ctrl+a")
    s.type(path)
    s.key("Return")
    box, text = s.message()
    s.check_equal(text, "2 fiche(s) exportée(s) dans le fichier « %s »." % path, "the message")
    s.answer(box)

    raw = s.read(path)
    s.check(raw.startswith(b"\xef\xbb\xbf"), "the byte-order mark")
    with open(path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, delimiter=";"))
    header = rows[0]
    cells = [dict(zip(header, row)) for row in rows[1:]]
    wanted = ["Date", "Bénéficiaire", "Médecin", "Coût", "Note soins", "Dte CPAM",
              "Mt CPAM", "PourcentageCPAM", "Ecart"]
    s.check_equal([{k: c[k] for k in wanted} for c in cells], [
        {"Date": "10/01/2024", "Bénéficiaire": "ÉLISE", "Médecin": "'=1+1", "Coût": "1234,50",
         "Note soins": 'dit "oui"; puis\nnon', "Dte CPAM": "", "Mt CPAM": "70,00",
         "PourcentageCPAM": "70%", "Ecart": "1164,50"},
        {"Date": "12/03/2024", "Bénéficiaire": "ÉLISE", "Médecin": "Dr Çava", "Coût": "0,40",
         "Note soins": "", "Dte CPAM": "", "Mt CPAM": "", "PourcentageCPAM": "",
         "Ecart": "0,40"},
    ], "the exported rows")
    s.check("Numero" not in header, "no internal row number in %r" % header)

    # The same name typed again without ".csv": the file dialog asks about "Soins Elise.csv"
    # before replacing it, and "Non" leaves the file as it was.
    s.file_menu(main, "mnuExporter")
    s.wait_window(EXPORT_TITLE)
    s.key("Return")
    files = s.wait_window(EXPORT_FILE_TITLE)
    s.key("ctrl+a")
    s.type(os.path.join(s.work, "Soins Elise"))
    s.key("Return")
    s.step = "waiting for the question about replacing the file"
    question = _wait_other(s, EXPORT_FILE_TITLE, files)
    s.activate(question)
    s.hold_clipboard("(nothing copied)")
    _, _, width, _ = s.geometry(question)
    s.tool("xdotool", "mousemove", "--window", str(question), str(width - 20), "20", "click",
           "1", "key", "ctrl+a", "ctrl+c")
    deadline = time.monotonic() + scaled(5)
    while s.clipboard().strip() == "(nothing copied)" and time.monotonic() < deadline:
        time.sleep(0.1)
    asked = s.clipboard()
    s.check("Soins Elise.csv" in asked, "the question names the file written: %r" % asked)
    s.answer(question, "Escape")
    s.key("Escape")
    s.wait_no_window(EXPORT_FILE_TITLE)
    s.key("Escape")
    s.wait_no_window(EXPORT_TITLE)
    s.check_equal(s.read(path), raw, "the file after Non")
    s.quit(talo, main)


def _wait_other(s, title, known, timeout=10):
    """A window of `title` other than `known` (a box over that dialog, titled alike)."""
    deadline = time.monotonic() + scaled(timeout)
    while time.monotonic() < deadline:
        others = [w for w in s.windows(title) if w != known]
        if others:
            return others[0]
        time.sleep(0.1)
    s.check(False, "a second window '%s'" % title)


run(scenario)
