"""Window titles of the program and where a person clicks in its windows: client-area
positions, named after the controls, measured on the program under Xvfb (1024 by 768) with
openbox; the main window is 640 by 480 at the top left, the others are centred."""

MAIN_TITLE = "Talo 3.0 pour Windows 95"
APP_TITLE = "Talo 3.0"  # message boxes and the password prompt

# The main window.
MAIN = {
    "btnInformations": (17, 34), "BtnMedecins": (43, 34), "btnListeBenef": (69, 34),
    "btnApercu": (95, 34), "btnMotDePasse": (121, 34), "btnImprimer": (147, 34),
    "btnSauvegarder": (173, 34),
    "BtnQuitter": (225, 34),
    "lstListeAnnee": (87, 67), "lstListeBeneficiaires": (309, 67),
    "row1": (99, 109), "row2": (99, 125), "row3": (99, 141),
    "navFirst": (448, 267), "navInsert": (548, 267), "navPost": (598, 267),
    "DBDateSoins": (103, 323), "DBBeneficiaire": (317, 323), "DBPraticien": (549, 323),
    "DBSpecialite": (234, 349), "DBPaiement": (549, 349), "DBCout": (112, 381),
    "DBMemoSoins": (339, 427),
}
# The beneficiary name list window.
NAMES_TITLE = " Gestion des bénéficiaires"
NAMES = {"btnAjouter": (244, 40), "btnSupprimer": (244, 77), "btnQuitter": (244, 114)}
# The insurance details and insured persons window.
INFOS_TITLE = " Talo 3.0 - Informations"
INFOS = {"BtnQuitter": (43, 16), "chpOrganisme": (286, 62), "row1": (81, 262),
         "row2": (81, 278), "navInsert": (127, 349), "DBchpNom": (134, 378),
         "DBchpPrenom": (134, 403)}
# The backup dialog.
BACKUP_TITLE = " Créer une copie de sauvegarde"
BACKUP = {"btnOK": (349, 112), "btnAnnuler": (349, 139), "btnCreerDossier": (349, 340)}
# The doctors' address book.
BOOK_TITLE = " Talo 3.0 - Carnet d'adresses médicales"
BOOK = {"BtnQuitter": (98, 16), "row1": (46, 62), "row2": (46, 78), "navInsert": (117, 195),
        "DBchpNom": (162, 223), "DBchpTel": (362, 300)}
# The menu "Fichier" (its title in the main window's menu bar) and how many Down presses from
# its opening reach each of its commands.
FILE_MENU = {"title": (24, 10), "mnuExporter": 5, "mnuRestaurer": 6,
             "mnuImporterReleve": 7}
# The export dialog and the file dialog it opens.
EXPORT_TITLE = " Exporter"
EXPORT_FILE_TITLE = " Exporter vers un fichier CSV"
# The restore dialog.
RESTORE_TITLE = " Restaurer une copie de sauvegarde"
RESTORE = {"copy1": (120, 38), "btnRestaurer": (418, 22), "btnAutreDossier": (418, 49),
           "btnAnnuler": (418, 76),
           "etqContenu": (120, 239)}
# The directory dialog of its button "Autre dossier...".
RESTORE_FOLDER_TITLE = " Choisir le dossier de la copie de sauvegarde"
# The proofs of an entry: the file dialog of Ctrl+J, the list of Ctrl+Maj+J.
ATTACH_TITLE = " Joindre des pièces"
PROOFS_TITLE = " Pièces jointes"
# The menu "Voir" of the main window and its last two commands (the menu opens under it).
MAIN.update({"mnuVoir": (67, 8), "mnuSuivi": (150, 90), "mnuBilan": (120, 110)})
# The reimbursement follow-up (buttons counted from its bottom right corner).
SEARCH_TITLE = " Rechercher"

FOLLOW_UP_TITLE = " Suivi des remboursements"
FOLLOW_UP = {"row1": (167, 65), "btnApercu": (-309, -26), "btnFermer": (-43, -26)}
# The year summary.
SUMMARY_TITLE = " Bilan annuel"
SUMMARY = {"lstAnnee": (85, 22), "beneficiary1": (45, 82), "btnApercu": (-309, -24)}
# The report preview.
PREVIEW = {"btnPdf": (-152, 22), "btnFermer": (-51, 22)}
PDF_DIALOG_TITLE = "Enregistrer en PDF"
# The bank statement import: its file dialog, the CSV column choice and the import window.
IMPORT_FILE_TITLE = " Choisir le relevé bancaire"
IMPORT_COLUMNS_TITLE = " Colonnes du relevé"
IMPORT_TITLE = " Importer un relevé bancaire"
IMPORT_PICK_TITLE = " Choisir les soins payés"
