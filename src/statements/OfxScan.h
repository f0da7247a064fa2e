#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <vector>

// One <STMTTRN> of an OFX file as written: the line it starts on, its date and cents read from
// the text, and the raw texts the library's reading is checked against.
struct OfxScannedTransaction {
    int line = 0;
    QDate date;
    qint64 cents = 0;
    QByteArray fitId;
    QByteArray name;
    QByteArray memo;
};

// A pass over an OFX file (1.x SGML or 2.x XML) before the library reads it: it finds every
// transaction with its line, and refuses with the line what the library would read only in
// part or not at all (a file cut short, a transaction inside another, a date or amount that is
// not one). The date is the day the bank wrote (its first eight digits), whatever time zone
// follows; the amount is read from its text, exact to the cent.
namespace OfxScan
{

// Whether the bytes look like an OFX file: an OFX header or an <OFX> tag near the start.
bool looksLikeOfx(const QByteArray &bytes);

// Throws StatementError naming the line.
std::vector<OfxScannedTransaction> scan(const QByteArray &bytes);

} // namespace OfxScan
