# A downloaded OFX 1.x statement imported into a register with some history: three C.P.A.M.
# payments settling five entries (one for both people), one from the mutuelle, a salary, a
# debit and a payment nothing fits; one Alt+C writes the shares, and the same file imported
# again changes nothing.
import os

import import_steps
from talo_e2e import run


def ofx(operations):
    body = ""
    for when, amount, label, fit in operations:
        body += ("<STMTTRN>\r\n<TRNTYPE>%s\r\n<DTPOSTED>%s\r\n<TRNAMT>%.2f\r\n<FITID>%s\r\n"
                 "<NAME>%s\r\n</STMTTRN>\r\n" % ("CREDIT" if amount > 0 else "DEBIT",
                                                 when.strftime("%Y%m%d"), amount, fit, label))
    return ("OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\n"
            "ENCODING:USASCII\r\nCHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\n"
            "NEWFILEUID:NONE\r\n\r\n<OFX>\r\n<SIGNONMSGSRSV1>\r\n<SONRS>\r\n<STATUS>\r\n"
            "<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n<DTSERVER>20240401080000\r\n"
            "<LANGUAGE>FRA\r\n</SONRS>\r\n</SIGNONMSGSRSV1>\r\n<BANKMSGSRSV1>\r\n<STMTTRNRS>\r\n"
            "<TRNUID>0\r\n<STATUS>\r\n<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n<STMTRS>\r\n"
            "<CURDEF>EUR\r\n<BANKACCTFROM>\r\n<BANKID>30004\r\n<BRANCHID>00123\r\n"
            "<ACCTID>00012345678\r\n<ACCTTYPE>CHECKING\r\n</BANKACCTFROM>\r\n<BANKTRANLIST>\r\n"
            "<DTSTART>20240301\r\n<DTEND>20240331\r\n" + body +
            "</BANKTRANLIST>\r\n<LEDGERBAL>\r\n<BALAMT>1523.42\r\n<DTASOF>20240331\r\n"
            "</LEDGERBAL>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n"
            ).encode("cp1252")


def scenario(s):
    folder, numbers = import_steps.register(s)
    path = os.path.join(s.work, "releve.ofx")
    with open(path, "wb") as f:
        f.write(ofx(import_steps.operations()))
    import_steps.run_import(s, folder, numbers, path)


run(scenario)
