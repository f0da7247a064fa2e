# The same statement as a French bank's CSV in Windows-1252, with Débit and Crédit columns
# recognised from their titles: the payments "à choisir" taken by the digit 1, Alt+C writes the
# shares, a second import changes nothing.
import os

import import_steps
from talo_e2e import run


def csv_bytes(operations):
    lines = ["Date opération;Date valeur;Libellé;Débit;Crédit"]
    for when, amount, label, _ in operations:
        money = ("%.2f" % abs(amount)).replace(".", ",")
        lines.append("%s;%s;%s;%s;%s" % (when.strftime("%d/%m/%Y"), when.strftime("%d/%m/%Y"),
                                         label, money if amount < 0 else "",
                                         money if amount > 0 else ""))
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def scenario(s):
    folder, numbers = import_steps.register(s)
    path = os.path.join(s.work, "releve-compte.csv")
    with open(path, "wb") as f:
        f.write(csv_bytes(import_steps.operations()))
    import_steps.run_import(s, folder, numbers, path)


run(scenario)
