#pragma once

#include "platform/core/Windows1252.h"
#include "support/FileBytes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

// Statement files written as banks write them, for the readers' tests.
namespace StatementSamples
{

struct Transaction {
    QString posted; // DTPOSTED as written
    QString amount; // TRNAMT as written
    QString fitId;
    QString name;
    QString memo;
};

inline std::vector<Transaction> usual()
{
    return {
        {QStringLiteral("20240315"), QStringLiteral("+23.10"), QStringLiteral("FR0001"),
         QStringLiteral("VIR CPAM DE LA LOIRE REMB SOINS"), QStringLiteral("Réf. 2403150012")},
        {QStringLiteral("20240316000000[+1:CET]"), QStringLiteral("-1234.56"),
         QStringLiteral("FR0002"), QStringLiteral("PRLV SEPA EDF"), QString()},
        {QStringLiteral("20240331235959"), QStringLiteral("7,05"), QStringLiteral("FR0003"),
         QStringLiteral("VIR SEPA MUTUELLE GÉNÉRALE"), QStringLiteral("REMBT SOINS")},
    };
}

inline QString transactions(const std::vector<Transaction> &list, bool xml)
{
    auto element = [xml](const char *tag, const QString &value) {
        QString v = value;
        if (xml)
            v.replace(u'&', QStringLiteral("&amp;")).replace(u'<', QStringLiteral("&lt;"));
        return QStringLiteral("<%1>%2%3\r\n")
            .arg(QLatin1String(tag), v,
                 xml ? QStringLiteral("</%1>").arg(QLatin1String(tag)) : QString());
    };
    QString out;
    for (const Transaction &t : list) {
        out += QStringLiteral("<STMTTRN>\r\n");
        out += element("TRNTYPE", t.amount.startsWith(u'-') ? QStringLiteral("DEBIT")
                                                            : QStringLiteral("CREDIT"));
        out += element("DTPOSTED", t.posted);
        out += element("TRNAMT", t.amount);
        if (!t.fitId.isEmpty())
            out += element("FITID", t.fitId);
        out += element("NAME", t.name);
        if (!t.memo.isEmpty())
            out += element("MEMO", t.memo);
        out += QStringLiteral("</STMTTRN>\r\n");
    }
    return out;
}

inline QString body(const std::vector<Transaction> &list, bool xml)
{
    auto leaf = [xml](const char *tag, const char *value) {
        return QStringLiteral("<%1>%2%3\r\n")
            .arg(QLatin1String(tag), QLatin1String(value),
                 xml ? QStringLiteral("</%1>").arg(QLatin1String(tag)) : QString());
    };
    QString out = QStringLiteral("<OFX>\r\n<SIGNONMSGSRSV1>\r\n<SONRS>\r\n<STATUS>\r\n");
    out += leaf("CODE", "0") + leaf("SEVERITY", "INFO") + QStringLiteral("</STATUS>\r\n");
    out += leaf("DTSERVER", "20240401080000") + leaf("LANGUAGE", "FRA");
    out += QStringLiteral("</SONRS>\r\n</SIGNONMSGSRSV1>\r\n<BANKMSGSRSV1>\r\n<STMTTRNRS>\r\n");
    out += leaf("TRNUID", "00000000") + QStringLiteral("<STATUS>\r\n") + leaf("CODE", "0") +
           leaf("SEVERITY", "INFO") + QStringLiteral("</STATUS>\r\n<STMTRS>\r\n");
    out += leaf("CURDEF", "EUR") + QStringLiteral("<BANKACCTFROM>\r\n") + leaf("BANKID", "30004") +
           leaf("BRANCHID", "00123") + leaf("ACCTID", "00012345678") +
           leaf("ACCTTYPE", "CHECKING") + QStringLiteral("</BANKACCTFROM>\r\n<BANKTRANLIST>\r\n");
    out += leaf("DTSTART", "20240301") + leaf("DTEND", "20240331");
    out += transactions(list, xml);
    out += QStringLiteral("</BANKTRANLIST>\r\n<LEDGERBAL>\r\n") + leaf("BALAMT", "1523.42") +
           leaf("DTASOF", "20240331") + QStringLiteral("</LEDGERBAL>\r\n</STMTRS>\r\n");
    out += QStringLiteral("</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n");
    return out;
}

// OFX 1.x: its SGML header, the body in Windows-1252 as CHARSET:1252 says. The header takes
// ten lines, so the body's first line (<OFX>) is line 11.
inline QByteArray ofx1(const std::vector<Transaction> &list = usual())
{
    const QString header = QStringLiteral(
        "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
        "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n");
    return *Windows1252::encode(header + body(list, false));
}

// OFX 2.x: XML in UTF-8; the body's first line is line 3.
inline QByteArray ofx2(const std::vector<Transaction> &list = usual())
{
    const QString header = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
        "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" "
        "NEWFILEUID=\"NONE\"?>\r\n");
    return (header + body(list, true)).toUtf8();
}

// The 1-based line of the first occurrence of `text` in `bytes`.
inline int lineOf(const QByteArray &bytes, const QByteArray &text, qsizetype from = 0)
{
    const qsizetype at = bytes.indexOf(text, from);
    return at < 0 ? 0 : int(bytes.left(at).count('\n')) + 1;
}

// A statement file of that name in the test's folder.
inline QString writtenIn(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    FileBytes::put(path, bytes);
    return path;
}

} // namespace StatementSamples
