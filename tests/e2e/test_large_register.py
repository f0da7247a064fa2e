# A lifetime register (20,000 entries over thirty years, written with sqlite3 as another tool
# would): one person's entries put in view, the care list previewed to its last page and saved
# as PDF with every entry and the totals right to the cent; then an entry typed into that view.
import re

import followup_steps as steps
from places import MAIN, MAIN_TITLE
from talo_e2e import run

PREVIEW_TITLE = " Aperçu - Liste des soins"
ROWS = 20000
SEED = """
with recursive n(i) as (select 1 union all select i + 1 from n where i < %d)
insert into TALO ("Date soins", Beneficiaire, Medecin, Cout, "Montant CPAM", "Montant mutuelle",
                  "CPAM oui/non", "Mutuelle oui/non")
select date('1996-01-01', '+' || (i * 11000 / %d) || ' days'),
       case i %% 3 when 0 then 'ANNE' when 1 then 'PAUL' else 'LOUIS' end,
       'Dr ' || (i %% 40), 20 + (i %% 97) + (i %% 4) * 0.25,
       case when i %% 5 = 0 then null else 10 + (i %% 7) * 0.5 end,
       case when i %% 6 = 0 then 4.05 else null end, 'Faux', 'Faux'
from n
""" % (ROWS, ROWS)


def money(cents):
    """Cents as the reports write them: "12 345,67 €" (blanks made plain)."""
    euros, rest = divmod(cents, 100)
    return "{:,}".format(euros).replace(",", " ") + ",%02d €" % rest


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nANNE\r\nLOUIS\r\nPAUL\r\n"})
    database = folder + "/TALO.DB"
    s.sql(database, SEED)
    paul = s.sql(database, "select count(*) as n, sum(round(Cout * 100)) as cost "
                           "from TALO where Beneficiaire = 'PAUL'")[0]
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.click(main, *MAIN["lstListeBeneficiaires"])
    s.key("Down", "Down", "Down", "Return")
    s.screenshot("paul-in-view")

    s.click(main, *MAIN["btnApercu"])
    s.activate(s.wait_window(PREVIEW_TITLE, timeout=30))
    s.key("ctrl+End")
    s.screenshot("last-page")
    text = steps.plain(steps.save_preview_as_pdf(s, PREVIEW_TITLE, s.work + "/list.pdf"))
    s.check_equal(len(re.findall(r"\bPAUL\b", text)), paul["n"], "PAUL's entries in the PDF")
    s.check(money(int(paul["cost"])) in text,
            "the PDF's total cost %s: %r" % (money(int(paul["cost"])), text[-600:]))
    s.check("LOUIS" not in text and "ANNE" not in text, "only PAUL's entries")

    s.click(main, *MAIN["row1"])
    s.key("Insert")
    s.type_entry("150326", "PAUL", "Dr Neuf", "12,34", None)
    s.expect_rows(database, "select Beneficiaire, Cout from TALO where Medecin = 'DR NEUF'",
                  [{"Beneficiaire": "PAUL", "Cout": 12.34}], "the entry typed into the view")
    s.screenshot("after-post")
    s.quit(talo, main)


run(scenario)
