# With a password set, nothing of the register is mapped before the right password: the main
# window stays unmapped while the prompt is up, and never appears after a wrong password or
# a cancel.
from places import APP_TITLE, MAIN_TITLE
from talo_e2e import run

INI = b"[ListeFichiers]\r\n1=LSTBENEF.LST\r\n2=talosoc.inf\r\n3=mutuelle.inf\r\n4=talo.ini\r\n" \
      b"[MotDePasse]\r\nChaine=Secret\r\n"


def scenario(s):
    folder = s.program_dir(files={"talo.ini": INI, "LSTBENEF.LST": b"TOUS\r\nMARIE\r\n"})
    s.sql(folder + "/TALO.DB", "insert into TALO (\"Date soins\", Beneficiaire, Cout) "
                               "values ('2024-01-10', 'MARIE', 25)")
    for answer in ("secret", "Escape", "Secret"):
        main_mapped = s.watch(MAIN_TITLE)
        talo = s.start(folder, wait_main=False)
        prompt = s.wait_window(APP_TITLE, timeout=30, dialog=True)
        s.activate(prompt)
        s.check(not main_mapped(), "the main window is mapped while the password is asked")
        if answer == "Escape":
            s.key("Escape")
        else:
            s.type(answer)
            s.key("Return")
        if answer == "Secret":
            main = s.wait_window(MAIN_TITLE)
            s.check_equal(s.quit(talo, main), 0, "exit status after the right password")
            continue
        if answer == "secret":
            box, text = s.message()
            s.check_equal(text, "Mot de passe non valable!! Talo 3.0 vous quitte.",
                          "the refusal message")
            s.answer(box)
        s.check_equal(talo.wait_exit(), 0, "exit status after %r" % answer)
        s.check(not main_mapped(), "the main window was mapped after %r" % answer)


run(scenario)
