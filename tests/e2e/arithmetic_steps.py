# A family's register written as the payers compute: the C.P.A.M. pays its rate of the "Base",
# rounded to the cent, less 2 € per consultation and 1 € per box of medicine or paramedical act
# (children under 18 exempt); the mutuelle pays the rest of the base. Eleven months of paid
# cares come first, so that the rates can be learned; the cares a statement pays follow.
# The CSV of a statement (its OFX is import_steps.ofx, labels cut at 32 characters).
import datetime

from import_steps import day, import_file, payer_columns
from places import IMPORT_TITLE

ADULTS = ("ÉLISE", "PAUL")
CHILDREN = ("LÉA", "TOM")
DOCTORS = {"MARTIN": "Généraliste", "PHARMACIE DU CENTRE": "Pharmacie",
           "ROUX": "Kinésithérapeute"}


def cents(euros):
    return int(round(euros * 100))


def cpam_share(who, doctor, base, units=1):
    """The C.P.A.M.'s share in cents: 70 % of a consultation less 2 €, 65 % of medicine less
    1 € per box, 60 % of a physiotherapy act less 1 €; nothing withheld for a child."""
    rate = {"MARTIN": 70, "PHARMACIE DU CENTRE": 65, "ROUX": 60}[doctor]
    share = (cents(base) * rate + 50) // 100
    unit = 200 if doctor == "MARTIN" else 100
    return share - (0 if who in CHILDREN else unit * units)


def mutuelle_share(doctor, base):
    """The ticket modérateur: the base less the C.P.A.M.'s share before any withholding."""
    return cents(base) - cpam_share(CHILDREN[0], doctor, base)


def history():
    """Paid cares of the eleven months before: each person sees the doctor, the pharmacy and
    (the adults) the physiotherapist; the C.P.A.M. pays after 5 days, the mutuelle after 9."""
    rows = []
    people = ADULTS + CHILDREN
    for i in range(28):
        who = people[i % 4]
        care = day(360 - 11 * i)
        kind = ("MARTIN", "PHARMACIE DU CENTRE", "ROUX")[i % 3]
        if kind == "ROUX" and who in CHILDREN:
            kind = "MARTIN"
        cost = {"MARTIN": 30.0, "PHARMACIE DU CENTRE": 14.6 + i % 5 * 3.1, "ROUX": 20.0}[kind]
        boxes = 1 + i % 3
        rows.append(entry(care, who, kind, cost, cpam=(cpam_share(who, kind, cost, boxes), 5),
                          mutuelle=(mutuelle_share(kind, cost), 9)))
    return rows


def entry(care, who, doctor, cost, cpam=None, mutuelle=None):
    """A care entry; `cpam` and `mutuelle` are (cents, days after the care) once paid."""
    return {"care": care, "who": who, "doctor": doctor, "cost": cost, "cpam": cpam,
            "mutuelle": mutuelle}


def register(s, awaited, mutuelle_name="HARMONIE MUTUELLE"):
    """A program directory whose TALO.DB holds the history and the `awaited` entries (a dict
    of name to entry); returns it with the awaited entries' row numbers by name."""
    files = {"LSTBENEF.LST": "\r\n".join(("TOUS",) + ADULTS + CHILDREN).encode("cp1252") +
             b"\r\n"}
    if mutuelle_name is not None:
        files["mutuelle.inf"] = (mutuelle_name + "\r\n\r\n\r\n\r\n\r\n").encode("cp1252")
    folder = s.program_dir(files=files)
    values = [_values(e) for e in history() + list(awaited.values())]
    s.sql(folder + "/TALO.DB",
          'insert into TALO ("Date soins", Beneficiaire, Medecin, Specialite, Cout, Base, '
          '"Montant CPAM", "Date CPAM", "Montant mutuelle", "Date mutuelle") values ' +
          ", ".join(values))
    numbers = {}
    for name, e in awaited.items():
        found = s.sql(folder + "/TALO.DB",
                      "select Numero from TALO where \"Date soins\" = '%s' and Medecin = '%s' "
                      "and Beneficiaire = '%s'" % (e["care"].isoformat(), e["doctor"], e["who"]))
        numbers[name] = found[0]["Numero"]
    return folder, numbers


def _values(e):
    def paid(p):
        if p is None:
            return "null, null"
        return "%.2f, '%s'" % (p[0] / 100, (e["care"] + datetime.timedelta(days=p[1])).isoformat())
    return "('%s', '%s', '%s', '%s', %.2f, %.2f, %s, %s)" % (
        e["care"].isoformat(), e["who"], e["doctor"].replace("'", "''"), DOCTORS[e["doctor"]],
        e["cost"], e["cost"], paid(e["cpam"]), paid(e["mutuelle"]))


def payers(s, folder, numbers):
    """Each awaited entry's payer columns: (C.P.A.M. date, cents, mutuelle date, cents)."""
    rows = payer_columns(s, folder, numbers)
    money = lambda v: None if v is None else cents(v)
    return {name: (rows[n][0], money(rows[n][1]), rows[n][2], money(rows[n][3]))
            for name, n in numbers.items()}


def ledger_lines(s, folder):
    kept = s.sql(folder + "/TALO.DB",
                 "select count(*) as n from sqlite_master where name = 'TALO_RELEVES'")
    if not kept[0]["n"]:
        return 0
    return s.sql(folder + "/TALO.DB", "select count(*) as n from TALO_RELEVES")[0]["n"]


# ---- statements ---------------------------------------------------------------------------

def csv(operations):
    """A French bank's CSV, newest first, with the whole labels and one signed amount."""
    lines = ["Date opération;Libellé;Montant"]
    for when, amount, label, _ in sorted(operations, key=lambda o: o[0], reverse=True):
        lines.append("%s;%s;%s" % (when.strftime("%d/%m/%Y"), label,
                                   ("%.2f" % amount).replace(".", ",")))
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def write(s, name, data):
    path = s.work + "/" + name
    with open(path, "wb") as f:
        f.write(data)
    return path


# ---- the import window --------------------------------------------------------------------

def open_import(s, main, path):
    import_file(s, main, path)
    window = s.wait_window(IMPORT_TITLE)
    s.activate(window)
    return window
