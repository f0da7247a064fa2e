# A name pasted with a line break (into " Ajouter un nom", into the Bénéficiaire field) is
# stored with a blank in its place, and a confirmed exit writes all three side files.
from places import MAIN_TITLE
from talo_e2e import run


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\n"})
    talo = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    s.add_name(main, lambda: s.paste("JEAN\nPIERRE"))
    s.activate(main)
    s.key("Insert")
    s.type("050424")
    s.key("Return")
    s.paste("ANNE\r\nMARIE")
    for text in (None, "dupont", None, None, "30", None, "note"):
        if text:
            s.type(text)
        s.key("Return")
    s.expect_rows(folder + "/TALO.DB", "select Beneficiaire from TALO",
                  [{"Beneficiaire": "ANNE MARIE"}], "the pasted beneficiary in TALO.DB")
    s.quit(talo, main)
    s.check_equal(s.read(folder + "/LSTBENEF.LST"), b"TOUS\r\nJEAN PIERRE\r\nANNE MARIE\r\n",
                  "LSTBENEF.LST after exit")
    for name in ("talosoc.inf", "mutuelle.inf"):
        s.check(s.exists(folder + "/" + name), name + " written at exit")


run(scenario)
