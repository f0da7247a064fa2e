# A second start on a program directory already open says so and ends; the first copy goes on
# untouched and its posts are kept.
from places import APP_TITLE, MAIN_TITLE
from talo_e2e import run


def scenario(s):
    folder = s.program_dir(files={"LSTBENEF.LST": b"TOUS\r\n"})
    first = s.start(folder)
    main = s.wait_window(MAIN_TITLE)
    second = s.start(folder, wait_main=False)
    s.wait_for(lambda: s.windows(APP_TITLE, dialog=True) or len(s.windows(MAIN_TITLE)) > 1,
               "a message or a second main window", timeout=30)
    s.check_equal(len(s.windows(MAIN_TITLE)), 1, "main windows mapped after the second start")
    box, text = s.message()
    s.check_equal(text, "Talo 3.0 est déjà ouvert sur ce dossier de programme.",
                  "the message of the second start")
    s.answer(box)
    s.check_equal(second.wait_exit(), 0, "exit status of the second copy")
    s.check(first.running(), "the first copy ended with the second")
    s.activate(main)
    s.key("Insert")
    s.type_entry("020324", "marie", "dupont", "20", "apres")
    s.check_equal(s.quit(first, main), 0, "exit status of the first copy")
    s.expect_rows(folder + "/TALO.DB", "select Beneficiaire, Cout from TALO",
                  [{"Beneficiaire": "MARIE", "Cout": 20.0}], "the first copy's entry")


run(scenario)
