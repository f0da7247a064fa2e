# A backup (OK double-clicked, as a hurried person does: one backup), then a restore into another program directory as the help says (program closed,
# the backup's files copied over those of the same name), there after a crash: the restored
# program finds everything of the backup and nothing of before the crash, also after its exit.
import os
import shutil

from places import MAIN_TITLE
from talo_e2e import run

QUERIES = {"TALO.DB": 'select "Date soins" as date, Beneficiaire, Cout from TALO order by Numero',
           "MEDECINS.DB": "select Nom, Prenom, Tel from MEDECINS order by Numero"}


def contents(s, folder):
    found = {name: s.sql(os.path.join(folder, name), query) for name, query in QUERIES.items()}
    found["LSTBENEF.LST"] = s.read(os.path.join(folder, "LSTBENEF.LST"))
    return found


def scenario(s):
    first = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\nPAUL\r\n"})
    s.sql(first + "/TALO.DB", 'insert into TALO ("Date soins", Beneficiaire, Cout) values '
                              "('2024-01-10', 'MARIE', 25), ('2024-02-11', 'PAUL', 30)")
    s.sql(first + "/MEDECINS.DB", "insert into MEDECINS (Nom, Prenom, Tel) "
                                  "values ('DUPONT', 'Jean', '01-02-03-04-05')")
    talo = s.start(first)
    main = s.wait_window(MAIN_TITLE)
    backup = s.backup(main, "Sauvegarde", double=True)
    s.quit(talo, main)
    saved = contents(s, first)

    second = s.program_dir("Talo2", files={"LSTBENEF.LST": b"TOUS\r\n"})
    talo = s.start(second)
    s.key("Insert")
    s.type_entry("010624", "avant", "panne", "99", "perdu")
    s.expect_rows(second + "/TALO.DB", "select Beneficiaire from TALO",
                  [{"Beneficiaire": "AVANT"}], "the entry typed before the crash")
    talo.crash()
    for name in os.listdir(backup):
        shutil.copy(os.path.join(backup, name), os.path.join(second, name))

    talo = s.start(second)
    main = s.wait_window(MAIN_TITLE)
    s.check_equal(contents(s, second), saved, "the restored program directory")
    s.quit(talo, main)
    s.check_equal(contents(s, second), saved, "the restored program directory after exit")


run(scenario)
