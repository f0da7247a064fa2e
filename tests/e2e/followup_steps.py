"""Steps shared by the follow-up scenarios: a small register around today, and a report saved
as PDF from its preview."""

import datetime
import os

from places import PDF_DIALOG_TITLE, PREVIEW


def day(days_ago):
    return datetime.date.today() - datetime.timedelta(days=days_ago)


def shown(date):
    return date.strftime("%d/%m/%y")


def seed(s, folder, rows):
    """Care entries (date, beneficiary, speciality, cost, C.P.A.M. date, C.P.A.M. amount)."""
    for date, name, speciality, cost, cpam_date, cpam in rows:
        s.sql(folder + "/TALO.DB",
              "insert into TALO (\"Date soins\", Beneficiaire, Specialite, Cout, \"Date CPAM\", "
              "\"Montant CPAM\", \"CPAM oui/non\", \"Mutuelle oui/non\") values "
              "('%s', '%s', '%s', %s, %s, %s, 'Faux', 'Faux')"
              % (date.isoformat(), name, speciality, cost,
                 "'%s'" % cpam_date.isoformat() if cpam_date else "NULL", cpam or "NULL"))


def plain(text):
    """Money as shown, its no-break blanks made plain."""
    return text.replace("\u00a0", " ").replace("\u202f", " ").strip()


def copied(s, keys):
    """What the focused control copies on Ctrl+C after `keys`."""
    marker = "(nothing copied)"
    s.hold_clipboard(marker)
    if keys:
        s.key(*keys)
    s.key("ctrl+c")
    return s.wait_for(lambda: s.clipboard() != marker and [s.clipboard()],
                      "the copied text")[0]


def save_preview_as_pdf(s, preview_title, path):
    """In the open preview: "Enregistrer en PDF...", the file named, the preview closed."""
    preview = s.wait_window(preview_title, timeout=20)
    s.click(preview, *PREVIEW["btnPdf"])
    s.wait_window(PDF_DIALOG_TITLE)
    s.key("ctrl+a")
    s.type(path)
    s.key("Return")
    s.wait_for(lambda: os.path.exists(path), "the PDF file " + path, timeout=20)
    s.wait_no_window(PDF_DIALOG_TITLE)
    s.click(preview, *PREVIEW["btnFermer"])
    s.wait_no_window(preview_title)
    return s.tool("pdftotext", path, "-")
