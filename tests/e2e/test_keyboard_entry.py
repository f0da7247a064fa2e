# The keyboard road of one care entry: Insert, the date, Enter from field to field, Enter in
# the note posts; the row is in TALO.DB as typed.
from talo_e2e import run


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\n"})
    s.start(folder)
    s.key("Insert")
    for text in ("150324", "marie", "dupont", "medecin generaliste", None, "25,50", None,
                 "visite annuelle"):
        if text:
            s.type(text)
        s.key("Return")
    s.expect_rows(folder + "/TALO.DB",
                  'select "Date soins" as date, Beneficiaire, Medecin, Specialite, Cout, '
                  '"Note soins" as note from TALO',
                  [{"date": "2024-03-15", "Beneficiaire": "MARIE", "Medecin": "DUPONT",
                    "Specialite": "Medecin Generaliste", "Cout": 25.5,
                    "note": "visite annuelle"}], "the entry typed, in TALO.DB")


run(scenario)
