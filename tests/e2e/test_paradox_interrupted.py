# A conversion cut short by a power cut (the process ends right after its second step: the new
# table built aside and the originals copied into "Tables Paradox") loses nothing: the next
# start finds the Paradox TALO.DB where it was, offers the conversion again, and Oui converts
# it whole, the originals kept byte for byte and no hidden leftover anywhere.
import hashlib
import os
import subprocess

from places import MAIN, MAIN_TITLE
from talo_e2e import run

STOPPED = 86  # the exit status of a conversion stopped by its test hook


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def hidden(folder):
    return sorted(name for name in os.listdir(folder) if name.startswith("."))


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nHELENE\r\nPAUL\r\n"})
    os.remove(folder + "/TALO.DB")
    subprocess.run([os.environ["TALO_E2E_PARADOX_MAKER"], folder], check=True)
    originals = {name: digest(os.path.join(folder, name)) for name in ("TALO.DB", "TALO.MB")}
    archive = folder + "/Tables Paradox"

    s.hooked(folder)
    talo = s.start(folder, wait_main=False, env={"TALO_CONVERSION_STOP_AFTER_STEP": "2"})
    box, text = s.message(timeout=30)
    s.check(text.startswith("Cette table est au format Paradox : TALO.DB."),
            "the conversion question: %r" % text)
    s.answer(box)
    s.check_equal(talo.wait_exit(timeout=30), STOPPED, "the status of the stopped conversion")
    s.check_equal({name: digest(os.path.join(folder, name)) for name in originals}, originals,
                  "the Paradox table still in place after the cut")

    talo = s.start(folder, wait_main=False)
    box, text = s.message(timeout=30)
    s.check(text.startswith("Cette table est au format Paradox : TALO.DB."),
            "the conversion offered again: %r" % text)
    s.answer(box)
    box, text = s.message(timeout=30)
    s.check_equal(text, "TALO.DB : 2 enregistrement(s) converti(s).\n\nLes fichiers Paradox "
                        "d'origine sont conservés dans le dossier %s." % archive, "the summary")
    s.answer(box)

    main = s.wait_window(MAIN_TITLE, timeout=30)
    s.screenshot("main-window")
    s.check_equal(s.copy_text(main, *MAIN["DBBeneficiaire"]), "HÉLÈNE", "the last entry shown")
    s.check_equal(sorted(os.listdir(archive)), ["TALO.DB", "TALO.MB"], "Tables Paradox")
    s.check_equal({name: digest(os.path.join(archive, name)) for name in originals}, originals,
                  "the originals, byte for byte")
    s.check_equal(oct(os.stat(archive).st_mode & 0o777), oct(0o700), "the archive's permissions")
    s.check_equal(hidden(folder), [], "hidden files left in the program directory")
    s.check(not os.path.exists(folder + "/TALO.MB"), "TALO.MB left in the program directory")
    rows = s.sql(folder + "/TALO.DB", "select Beneficiaire from TALO order by Numero")
    s.check_equal([r["Beneficiaire"] for r in rows], ["HÉLÈNE", "PAUL"], "the converted rows")
    s.check_equal(s.quit(talo, main), 0, "exit status")


run(scenario)
