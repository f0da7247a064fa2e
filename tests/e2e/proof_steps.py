"""Steps shared by the proofs scenarios: a PDF made by hand, a file chosen for Ctrl+J, and the
links the register keeps."""

from places import ATTACH_TITLE


def pdf_bytes(text):
    """A one-page PDF saying `text`, written by hand: objects, then their offsets."""
    stream = b"BT /F1 24 Tf 72 720 Td (" + text.encode("latin-1") + b") Tj ET"
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
               b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
               b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
               b"/Resources << /Font << /F1 5 0 R >> >> >>",
               b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
               b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, xref)
    return bytes(out)


def choose_file(s, path):
    """In the file dialog the attachment opens: the path typed, Return."""
    s.wait_window(ATTACH_TITLE)
    s.type(path)
    s.key("Return")
    s.wait_no_window(ATTACH_TITLE)


def links(s, folder):
    """Each link as "doctor:name shown", in the order of the entries."""
    rows = s.sql(folder + "/TALO.DB",
                 "select t.Medecin || ':' || p.Nom as link from TALO_PIECES p "
                 "join TALO t on t.Numero = p.Numero order by t.Numero")
    return [row["link"] for row in rows]
