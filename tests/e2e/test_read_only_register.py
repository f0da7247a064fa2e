# A TALO.DB that cannot be written (here made immutable, which even root obeys) is opened for
# reading: the register shows its entries, the start says once why nothing can be saved, an
# Insert is refused with the reason, and the file is left byte for byte as it was.
import os
import subprocess

from places import APP_TITLE, MAIN_TITLE
from talo_e2e import needs_root, run

ENTRIES = ('insert into TALO ("Date soins", Beneficiaire, Cout, "Mutuelle oui/non") values '
           "('2024-01-10', 'MARIE', 25, 'Faux'), ('2024-02-11', 'PAUL', 30, 'Faux')")


def answered(s, box):
    s.answer(box)
    s.wait_for(lambda: not s.windows(APP_TITLE, dialog=True), "the message box closed")


def scenario(s):
    needs_root("making a file immutable")
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\nPAUL\r\n"})
    table = os.path.join(folder, "TALO.DB")
    s.tool("sqlite3", table, ENTRIES)
    before = s.read(table)
    s.tool("chattr", "+i", table)
    s.on_close(lambda: subprocess.run(["chattr", "-i", table]))

    talo = s.start(folder, wait_main=False)
    box, text = s.message(timeout=30)
    s.check(text.startswith("Le registre est ouvert en lecture seule") and
            "Le fichier est en lecture seule." in text,
            "the start says the register is read-only and why: %r" % text)
    answered(s, box)
    main = s.wait_window(MAIN_TITLE, timeout=30)
    s.activate(main)
    s.key("Insert")
    box, text = s.message()
    s.check(text.startswith("La table est ouverte en lecture seule") and
            "Le fichier est en lecture seule." in text,
            "Insert is refused with the reason: %r" % text)
    answered(s, box)
    s.check_equal(s.sql(table, "select count(*) as n from TALO"), [{"n": 2}], "entries kept")
    s.quit(talo, main)
    s.check_equal(s.read(table), before, "TALO.DB after a read-only session")


run(scenario)
