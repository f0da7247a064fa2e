# A disk that fills up while the conversion runs (after Oui) costs nothing: the summary says
# why TALO.DB was not converted, the Paradox TALO.DB and TALO.MB stay where they were, byte for
# byte, with no hidden half-written table and no archive; once there is room again, the next
# start offers the conversion again and Oui converts it whole.
import hashlib
import os
import subprocess

from places import MAIN, MAIN_TITLE
import rigs
from talo_e2e import run


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def scenario(s):
    program = os.path.join(s.work, "talo")
    subprocess.run(["strip", "-o", program, s.program], check=True)
    room = os.path.getsize(program) + os.path.getsize(s.help_file) + 512 * 1024
    disk = rigs.small_disk(s, room // 1024)
    folder = s.program_dir(folder=disk, program=program,
                           files={"LSTBENEF.LST": b"TOUS\r\nHELENE\r\nPAUL\r\n"})
    os.remove(folder + "/TALO.DB")
    subprocess.run([os.environ["TALO_E2E_PARADOX_MAKER"], folder], check=True)
    originals = {name: digest(os.path.join(folder, name)) for name in ("TALO.DB", "TALO.MB")}

    talo = s.start(folder, wait_main=False)
    box, text = s.message(timeout=30)
    s.check(text.startswith("Cette table est au format Paradox : TALO.DB."),
            "the conversion question: %r" % text)
    filler = rigs.fill(disk)
    s.answer(box)
    box, text = s.message(timeout=30)
    s.screenshot("summary-full-disk")
    s.check(text.startswith("TALO.DB n'a pas été convertie. La table ") and
            "la conversion sera proposée de nouveau au prochain démarrage." in text,
            "the summary on a full disk: %r" % text)
    s.check_equal({name: digest(os.path.join(folder, name)) for name in originals}, originals,
                  "the Paradox table kept whole where it was")
    s.check_equal(sorted(n for n in os.listdir(folder) if n.startswith(".")), [],
                  "hidden files left in the program directory")
    s.check(not os.path.exists(folder + "/Tables Paradox"), "an archive left behind")
    talo.crash()  # what follows the summary is the unconverted table's own story

    os.remove(filler)
    talo = s.start(folder, wait_main=False)
    box, text = s.message(timeout=30)
    s.check(text.startswith("Cette table est au format Paradox : TALO.DB."),
            "the conversion offered again: %r" % text)
    s.answer(box)
    box, text = s.message(timeout=30)
    s.check(text.startswith("TALO.DB : 2 enregistrement(s) converti(s)."), "the summary: %r" % text)
    s.answer(box)
    main = s.wait_window(MAIN_TITLE, timeout=30)
    s.check_equal(s.copy_text(main, *MAIN["DBBeneficiaire"]), "HÉLÈNE", "the last entry shown")
    s.check_equal({name: digest(os.path.join(folder, "Tables Paradox", name))
                   for name in originals}, originals, "the originals in the archive")
    s.check_equal(s.quit(talo, main), 0, "exit status")


run(scenario)
