# The program stops dead in the middle of a restore's file swap (the tables already moved
# aside, no copy moved in yet): the next start finishes the restore before any window opens,
# says so, and shows the restored register whole; the replaced files wait in their folder.
import os

from places import MAIN, MAIN_TITLE, RESTORE, RESTORE_TITLE
from talo_e2e import run

# Steps of the swap: 1 the journal, 2 the aside folder, 3 to 5 the three tables moved aside.
STOP_AFTER_TABLES_MOVED_OUT = "5"


def scenario(s):
    folder, _ = s.program_with_copy()
    s.hooked(folder)
    talo = s.start(folder, env={"TALO_TEST_STOP_AFTER_STEP": STOP_AFTER_TABLES_MOVED_OUT})
    main = s.wait_window(MAIN_TITLE)
    s.key("Insert")
    s.type_entry("010624", "paul", "blanc", "99", "apres")
    s.expect_rows(folder + "/TALO.DB", "select Beneficiaire from TALO order by Numero",
                  [{"Beneficiaire": "MARIE"}, {"Beneficiaire": "PAUL"}], "the entry typed")

    s.file_menu(main, "mnuRestaurer")
    dialog = s.wait_window(RESTORE_TITLE)
    s.click(dialog, *RESTORE["copy1"])
    s.click(dialog, *RESTORE["btnRestaurer"])
    box, _ = s.message()
    s.answer(box, "alt+o")
    s.check_equal(talo.wait_exit(timeout=30), 86, "the program stopped in the swap")
    s.check(not os.path.exists(os.path.join(folder, "TALO.DB")),
            "the swap was stopped with the tables moved aside")

    talo = s.start(folder, wait_main=False)
    box, text = s.message(timeout=30)
    s.check("Une restauration avait été interrompue" in text and "terminée" in text,
            "the start says the restore was finished: %r" % text)
    s.answer(box)
    main = s.wait_window(MAIN_TITLE, timeout=30)
    s.check_equal(s.copy_text(main, *MAIN["DBBeneficiaire"]), "MARIE", "the entry shown")
    s.expect_rows(folder + "/TALO.DB", "select Beneficiaire from TALO",
                  [{"Beneficiaire": "MARIE"}], "the restored register")
    aside = [n for n in os.listdir(folder) if n.startswith("Avant restauration ")]
    s.check_equal(len(aside), 1, "the folder of the replaced files")
    s.expect_rows(os.path.join(folder, aside[0], "TALO.DB"),
                  "select Beneficiaire from TALO order by Numero",
                  [{"Beneficiaire": "MARIE"}, {"Beneficiaire": "PAUL"}], "the replaced register")
    s.check_equal(s.quit(talo, main), 0, "exit status after the finished restore")


run(scenario)
