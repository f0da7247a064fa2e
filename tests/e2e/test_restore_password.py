# A restore keeps the password in force: the family set a password (kept in clear by an
# earlier version), left (the day's automatic copy carries it), changed it, and restored that
# copy. After the restart the new password lets them in; talo.ini never holds it in clear.
from places import APP_TITLE, MAIN, MAIN_TITLE, RESTORE, RESTORE_TITLE
from talo_e2e import run

INI = b"[ListeFichiers]\r\n1=LSTBENEF.LST\r\n2=talosoc.inf\r\n3=mutuelle.inf\r\n4=talo.ini\r\n" \
      b"[MotDePasse]\r\nChaine=Ancien\r\n"


def gate(s, talo, password):
    prompt = s.wait_window(APP_TITLE, timeout=30, dialog=True)
    s.activate(prompt)
    s.type(password)
    s.key("Return")
    return s.wait_window(MAIN_TITLE, timeout=30)


def scenario(s):
    folder = s.program_dir(files={"talo.ini": INI, "LSTBENEF.LST": b"TOUS\r\nMARIE\r\n"})
    s.sql(folder + "/TALO.DB", "insert into TALO (\"Date soins\", Beneficiaire, Cout) "
                               "values ('2024-01-10', 'MARIE', 25)")
    talo = s.start(folder, wait_main=False)
    main = gate(s, talo, "Ancien")
    s.check(b"Ancien" not in s.read(folder + "/talo.ini"),
            "the clear password is replaced by its hash once it let the family in")
    s.check_equal(s.quit(talo, main), 0, "exit status (the day's automatic copy)")

    talo = s.start(folder, wait_main=False)
    main = gate(s, talo, "Ancien")
    s.click(main, *MAIN["btnMotDePasse"])
    s.wait_window(" Création mot de passe")
    s.type("Nouveau")
    s.key("Return")
    s.wait_no_window(" Création mot de passe", timeout=10)

    s.file_menu(main, "mnuRestaurer")
    dialog = s.wait_window(RESTORE_TITLE)
    s.click(dialog, *RESTORE["copy1"])
    s.click(dialog, *RESTORE["btnRestaurer"])
    box, text = s.message()
    s.check("Le mot de passe actuel reste en vigueur : celui de la copie n'est pas repris."
            in text, "the confirmation says the password stays: %r" % text)
    s.restore_confirmed(box)

    # The program starts again by itself and asks for the password in force.
    main = gate(s, talo, "Nouveau")
    s.check(talo.running(), "the new password let the family in after the restore")
    ini = s.read(folder + "/talo.ini")
    s.check(b"Nouveau" not in ini and b"Ancien" not in ini, "talo.ini holds no clear password")
    s.check_equal(s.quit(talo, main), 0, "exit status after the restore")


run(scenario)
