# A register shown before its rows are all read (the read held back by the test hook): at once
# the window holds the newest entries and reaches the oldest by keyboard; a cost corrected on the
# newest entry and an entry typed, both before the rows are in, land on the right rows; a cost
# being typed when the rows come in stays, and Quitter with a correction pending posts it.
import time

from places import MAIN, MAIN_TITLE
from talo_e2e import run

ROWS = 5000
SEED = """
with recursive n(i) as (select 1 union all select i + 1 from n where i < %d)
insert into TALO ("Date soins", Beneficiaire, Medecin, Cout, "CPAM oui/non", "Mutuelle oui/non")
select date('2000-01-01', '+' || (i / 2) || ' days'),
       case i %% 3 when 0 then 'ANNE' when 1 then 'PAUL' else 'LOUIS' end,
       'Dr ' || (i %% 40), 20 + (i %% 97), 'Faux', 'Faux'
from n
""" % ROWS
ORDER = '"Date soins" %s, Beneficiaire %s, Numero %s'


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nANNE\r\nLOUIS\r\nPAUL\r\n"})
    database = folder + "/TALO.DB"
    s.sql(database, SEED)
    oldest, newest = (s.sql(database, 'select Numero, "Date soins" as d from TALO order by ' +
                            ORDER % (way, way, way) + " limit 1")[0] for way in ("asc", "desc"))
    started = time.monotonic()
    s.hooked(folder)
    talo = s.start(folder, env={"TALO_TEST_ROWS_DELAY_MS": "8000"})
    main = s.wait_window(MAIN_TITLE)
    s.screenshot("before-the-rows")

    s.click(main, *MAIN["row1"])
    s.key("Home")
    y, m, d = oldest["d"].split("-")
    s.check_equal(s.copy_text(main, *MAIN["DBDateSoins"]), "%s/%s/%s" % (d, m, y[2:]),
                  "the oldest entry's date after Home")
    s.click(main, *MAIN["row1"])
    s.key("End")
    s.click(main, *MAIN["DBCout"])
    s.key("ctrl+a")
    s.type("77,70")
    s.check(time.monotonic() - started < 8,
            "the gestures came before the rows (%.1f s)" % (time.monotonic() - started))
    # The rows come in under the pending edit: the typed cost stays, then is posted.
    time.sleep(max(0.0, started + 10 - time.monotonic()))
    s.check_equal(s.copy_text(main, *MAIN["DBCout"]), "77,70",
                  "the cost being typed when the rows came in")
    s.click(main, *MAIN["navPost"])
    s.expect_rows(database, "select Numero, Cout from TALO where Cout = 77.7",
                  [{"Numero": newest["Numero"], "Cout": 77.7}], "the newest entry corrected",
                  timeout=20)
    s.click(main, *MAIN["row1"])
    s.key("Insert")
    s.type_entry("010130", "PAUL", "Dr Neuf", "12,34", None)
    s.expect_rows(database, "select count(*) as n from TALO", [{"n": ROWS + 1}],
                  "the entry typed, and no other lost")
    s.screenshot("after-the-rows")
    s.check_equal(s.quit(talo, main), 0, "exit status")

    # Quitter with a correction pending, before the rows are in: it is posted on the way out.
    talo = s.start(folder, env={"TALO_TEST_ROWS_DELAY_MS": "6000"})
    main = s.wait_window(MAIN_TITLE)
    s.click(main, *MAIN["DBCout"])
    s.key("ctrl+a")
    s.type("55,50")
    s.check_equal(s.quit(talo, main), 0, "exit status with the correction pending")
    s.expect_rows(database, "select Medecin, Cout from TALO where Cout = 55.5",
                  [{"Medecin": "DR NEUF", "Cout": 55.5}], "the newest entry corrected on leaving")


run(scenario)
