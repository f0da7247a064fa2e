# A confirmed exit leaves the day's automatic copy; entries typed after it are undone by
# restoring that copy from the menu: the program says what the copy holds, asks, sets the
# current files aside, starts again by itself and shows the restored register.
import os

from places import APP_TITLE, MAIN, MAIN_TITLE, RESTORE, RESTORE_TITLE
from talo_e2e import run


def scenario(s):
    folder, _ = s.program_with_copy()
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.key("Insert")
    s.type_entry("010624", "paul", "blanc", "99", "apres")
    s.expect_rows(folder + "/TALO.DB", "select Beneficiaire from TALO order by Numero",
                  [{"Beneficiaire": "MARIE"}, {"Beneficiaire": "PAUL"}], "the entry typed")

    s.file_menu(main, "mnuRestaurer")
    dialog = s.wait_window(RESTORE_TITLE)
    s.click(dialog, *RESTORE["copy1"])
    s.screenshot("restore-dialog")
    s.click(dialog, *RESTORE["btnRestaurer"])
    box, text = s.message()
    s.check(text.startswith("Cette copie contient 1 soin(s) (le plus récent du 10/01/2024), "
                            "0 médecin(s) et 0 assuré(s)."), "the confirmation: %r" % text)
    s.restore_confirmed(box)

    main = s.wait_window(MAIN_TITLE, timeout=30)
    s.check(talo.running(), "the program started again by itself")
    s.check_equal(s.copy_text(main, *MAIN["DBBeneficiaire"]), "MARIE", "the entry shown")
    s.expect_rows(folder + "/TALO.DB", "select Beneficiaire from TALO",
                  [{"Beneficiaire": "MARIE"}], "the restored register")
    aside = [n for n in os.listdir(folder) if n.startswith("Avant restauration ")]
    s.check_equal(len(aside), 1, "the folder of the replaced files")
    s.expect_rows(os.path.join(folder, aside[0], "TALO.DB"),
                  "select Beneficiaire from TALO order by Numero",
                  [{"Beneficiaire": "MARIE"}, {"Beneficiaire": "PAUL"}], "the replaced register")
    s.check_equal(s.quit(talo, main), 0, "exit status after the restore")


run(scenario)
