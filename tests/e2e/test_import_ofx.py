# A downloaded OFX 1.x statement imported into a register with some history: three C.P.A.M.
# payments settling five entries (one for both people), one from the mutuelle, a salary, a
# debit and a payment nothing fits; the payments "à choisir" taken by the digit 1, Alt+C writes
# the shares, and the same file imported again changes nothing.
import os

import import_steps
from talo_e2e import run


def scenario(s):
    folder, numbers = import_steps.register(s)
    path = os.path.join(s.work, "releve.ofx")
    with open(path, "wb") as f:
        f.write(import_steps.ofx(import_steps.operations()))
    import_steps.run_import(s, folder, numbers, path)


run(scenario)
