# A crafted MEDECINS.DB whose 96-byte header makes pxlib loop for ever beside an honest Paradox
# TALO.DB: after Oui the progress window shows (the program stays alive while the reading of
# MEDECINS.DB gives nothing), the reading is stopped after 30 seconds of silence, the summary
# says TALO.DB was converted and why MEDECINS.DB was not, and MEDECINS.DB stays as it was.
import hashlib
import os
import struct
import subprocess

from places import MAIN_TITLE
from talo_e2e import run


def looping_header():
    """A data-file header whose chain of blocks loops on itself."""
    header = bytearray(96)
    struct.pack_into("<HH", header, 0, 10, 0x58)  # record size, header size
    header[0x05] = 1                              # blocks of 1 KiB
    struct.pack_into("<H", header, 0x0E, 1)       # first block
    header[0x21] = 1                              # one field
    header[0x39] = 3                              # file version
    struct.pack_into("<H", header, 0x58, 1)       # block 1 goes on to block 1
    return bytes(header)


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nHELENE\r\nPAUL\r\n"})
    os.remove(folder + "/TALO.DB")
    subprocess.run([os.environ["TALO_E2E_PARADOX_MAKER"], folder], check=True)
    with open(folder + "/MEDECINS.DB", "wb") as f:
        f.write(looping_header())

    talo = s.start(folder, wait_main=False)
    box, text = s.message(timeout=30)
    s.check(text.startswith("Ces tables sont au format Paradox : TALO.DB, MEDECINS.DB."),
            "the conversion question: %r" % text)
    s.answer(box)
    s.wait_window("Conversion des tables Paradox", timeout=15)
    s.screenshot("progress")
    box, text = s.message(timeout=60)
    s.screenshot("summary")
    s.check(text.startswith(
        "TALO.DB : 2 enregistrement(s) converti(s).\nMEDECINS.DB n'a pas été convertie. La table "
        "Paradox ne peut pas être lue : sa lecture ne progresse plus depuis 30 secondes ; le "
        "fichier est endommagé ou fait pour bloquer la lecture."), "the summary: %r" % text)
    s.answer(box)
    with open(folder + "/MEDECINS.DB", "rb") as f:
        s.check_equal(f.read(), looping_header(), "MEDECINS.DB left as it was")
    s.check(not os.path.exists(folder + "/Tables Paradox/MEDECINS.DB"),
            "MEDECINS.DB copied into the archive")
    rows = s.sql(folder + "/TALO.DB", "select count(*) as n from TALO")
    s.check_equal(rows[0]["n"], 2, "the converted rows")


run(scenario)
