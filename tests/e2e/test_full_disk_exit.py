# On a full disk, a confirmed exit keeps LSTBENEF.LST whole, says what could not be saved and
# lets the user stay; storing a password keeps talo.ini whole and says so; once there is room
# again, the exit saves everything.
import os
import subprocess

from places import APP_TITLE, MAIN_TITLE, MAIN
import rigs
from talo_e2e import run

NAMES_BEFORE = b"TOUS\r\nMARIE\r\n"


def scenario(s):
    program = os.path.join(s.work, "talo")
    subprocess.run(["strip", "-o", program, s.program], check=True)
    room = os.path.getsize(program) + os.path.getsize(s.help_file) + 512 * 1024
    disk = rigs.small_disk(s, room // 1024)
    folder = s.program_dir(folder=disk, program=program, files={"LSTBENEF.LST": NAMES_BEFORE})
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.add_name(main, lambda: s.type("paul"))

    filler = rigs.fill(disk)
    s.click(main, *MAIN["BtnQuitter"])
    box, _ = s.message()
    s.answer(box)
    s.wait_for(lambda: not talo.running() or len(s.windows(APP_TITLE, dialog=True)) > 0,
               "a message or the end of the program")
    s.check_equal(s.read(folder + "/LSTBENEF.LST"), NAMES_BEFORE, "LSTBENEF.LST on a full disk")
    s.check(talo.running(), "the program ended on a full disk without a word")
    box, text = s.message()
    s.check("LSTBENEF.LST" in text and "Quitter quand même ?" in text,
            "the message lists LSTBENEF.LST and asks to quit anyway: %r" % text)
    s.answer(box, "Escape")
    s.check(talo.running(), "Non to 'Quitter quand même ?' ended the program")

    ini = s.read(folder + "/talo.ini")
    s.click(main, *MAIN["btnMotDePasse"])
    s.wait_window(" Création mot de passe")
    s.type("secret")
    s.key("Return")
    s.wait_for(lambda: s.windows(APP_TITLE, dialog=True) or
               not s.windows(" Création mot de passe"), "a message or the dialog closed")
    s.check_equal(s.read(folder + "/talo.ini"), ini, "talo.ini after storing a password on a "
                                                     "full disk")
    box, _ = s.message()
    s.answer(box)
    s.key("Escape")
    s.wait_no_window(" Création mot de passe")

    os.remove(filler)
    s.quit(talo, main)
    s.check_equal(s.read(folder + "/LSTBENEF.LST"), NAMES_BEFORE + b"PAUL\r\n",
                  "LSTBENEF.LST once there is room")


run(scenario)
