# A damaged copy is described as such and cannot be restored: the program directory stays
# byte for byte as it was.
import os

from places import MAIN_TITLE, RESTORE, RESTORE_TITLE
from talo_e2e import run


def snapshot(folder):
    files = {}
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if os.path.isfile(path) and name != "talo.lock" and not name.endswith("-shm"):
            with open(path, "rb") as f:
                files[name] = f.read()
    return files


def scenario(s):
    folder, copy = s.program_with_copy()
    with open(os.path.join(copy, "TALO.DB"), "r+b") as f:
        f.write(b"\0" * 4096)

    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    before = snapshot(folder)
    s.file_menu(main, "mnuRestaurer")
    dialog = s.wait_window(RESTORE_TITLE)
    s.click(dialog, *RESTORE["copy1"])
    told = s.copy_text(dialog, *RESTORE["etqContenu"])
    s.check(told.startswith("Cette copie ne peut pas être restaurée.") and "TALO.DB" in told,
            "what the dialog says: %r" % told)
    s.screenshot("restore-refused")
    s.click(dialog, *RESTORE["btnRestaurer"])  # disabled: nothing happens
    s.check(s.windows(RESTORE_TITLE), "the dialog still open")
    s.click(dialog, *RESTORE["btnAnnuler"])
    s.wait_no_window(RESTORE_TITLE)
    s.check_equal(snapshot(folder), before, "the program directory")
    s.check(not [n for n in os.listdir(folder) if n.startswith((".Restauration", "Avant"))],
                 "no working or aside folder left")
    s.check_equal(s.quit(talo, main), 0, "exit status")


run(scenario)
