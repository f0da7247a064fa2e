# A backup into a folder holding write-ahead-log files left by an older table: the copy, read
# with sqlite3, holds the current data and nothing of the older table.
import sqlite3

from places import MAIN_TITLE
from talo_e2e import run

ENTRIES = 'select "Date soins" as date, Beneficiaire, Cout from TALO order by Numero'


def stale_log(s):
    """TALO.DB-wal and -shm of an older table, taken while that table was still open."""
    older = s.program_dir("Ancien")
    db = sqlite3.connect(older + "/TALO.DB")
    db.execute("pragma journal_mode=wal")
    db.execute("pragma wal_autocheckpoint=0")
    for n in range(20):
        db.execute("insert into TALO (\"Date soins\", Beneficiaire, Cout) "
                   "values ('2019-01-%02d', 'ANCIEN', 1)" % (n + 1))
    db.commit()
    kept = {}
    for suffix in ("-wal", "-shm"):
        kept[suffix] = s.read(older + "/TALO.DB" + suffix)
    db.close()
    return kept


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\n"})
    s.sql(folder + "/TALO.DB", 'insert into TALO ("Date soins", Beneficiaire, Cout) values '
                               "('2024-01-10', 'MARIE', 25), ('2024-02-11', 'MARIE', 30)")
    current = s.sql(folder + "/TALO.DB", ENTRIES)
    leftovers = stale_log(s)

    def leave_stale_files(path):
        for suffix, data in leftovers.items():
            with open(path + "/TALO.DB" + suffix, "wb") as f:
                f.write(data)

    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    target = s.backup(main, "Sauvegarde", before_ok=leave_stale_files)
    s.check_equal(s.sql(target + "/TALO.DB", ENTRIES), current, "the backup's TALO.DB")
    s.quit(talo, main)


run(scenario)
