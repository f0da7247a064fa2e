# A program directory holding a Paradox TALO.DB (with its memo file) from another machine: the
# start offers the conversion, Oui converts it, the summary says so, the rows are in the main
# window, the originals are kept whole in "Tables Paradox" and TALO.DB is the program's table.
import hashlib
import os
import subprocess

from places import MAIN, MAIN_TITLE
from talo_e2e import run


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nHELENE\r\nPAUL\r\n"})
    os.remove(folder + "/TALO.DB")
    subprocess.run([os.environ["TALO_E2E_PARADOX_MAKER"], folder], check=True)
    originals = {name: digest(os.path.join(folder, name)) for name in ("TALO.DB", "TALO.MB")}

    talo = s.start(folder, wait_main=False)
    box, text = s.message(timeout=30)
    s.check(text.startswith("Cette table est au format Paradox : TALO.DB."),
            "the conversion question: %r" % text)
    s.screenshot("question")
    s.answer(box)  # Oui is the default button
    box, text = s.message(timeout=30)
    archive = folder + "/Tables Paradox"
    s.check_equal(text, "TALO.DB : 2 enregistrement(s) converti(s).\n\nLes fichiers Paradox "
                        "d'origine sont conservés dans le dossier %s." % archive,
                  "the summary")
    s.screenshot("summary")
    s.answer(box)

    main = s.wait_window(MAIN_TITLE, timeout=30)
    s.screenshot("main-window")
    s.check_equal(s.copy_text(main, *MAIN["DBBeneficiaire"]), "HÉLÈNE", "the last entry shown")
    s.click(main, *MAIN["row1"])
    s.check_equal(s.copy_text(main, *MAIN["DBBeneficiaire"]), "PAUL", "the first row")

    s.check_equal(sorted(os.listdir(archive)), ["TALO.DB", "TALO.MB"], "Tables Paradox")
    s.check_equal({name: digest(os.path.join(archive, name)) for name in originals}, originals,
                  "the originals, byte for byte")
    s.check(not os.path.exists(folder + "/TALO.MB"), "TALO.MB left in the program directory")
    rows = s.sql(folder + "/TALO.DB", 'select "Date soins" as d, Beneficiaire, Medecin, '
                 'Paiement, Cout, length("Note soins") as memo, "Date CPAM" as cpam, '
                 '"Montant CPAM" as mt from TALO order by Numero')
    s.check_equal([(r["d"], r["Beneficiaire"], r["Medecin"], r["Paiement"], r["Cout"], r["cpam"],
                    r["mt"]) for r in rows],
                  [("2024-03-02", "HÉLÈNE", "ŒDIPE", "Chèque", 25.5, "2024-03-20", 15.3),
                   ("2023-01-15", "PAUL", "MARTIN", "Espèces", 40.0, None, None)],
                  "the converted rows")
    s.check(rows[0]["memo"] > 240, "the long memo kept whole: %r" % rows[0]["memo"])
    s.check_equal(s.quit(talo, main), 0, "exit status")


run(scenario)
