#include "OfxScan.h"

#include "CsvValues.h"
#include "StatementError.h"
#include "StatementMessages.h"

namespace OfxScan
{

namespace
{
// The text after a tag, up to the next tag, without its blanks.
QByteArray valueAfter(const QByteArray &bytes, qsizetype from)
{
    qsizetype end = bytes.indexOf('<', from);
    if (end < 0)
        end = bytes.size();
    return bytes.mid(from, end - from).trimmed();
}

QString latin(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.left(40));
}

struct Open {
    OfxScannedTransaction transaction;
    QByteArray dateText;
    QByteArray amountText;
    bool hasDate = false;
    bool hasAmount = false;
};

OfxScannedTransaction finish(const Open &open)
{
    OfxScannedTransaction t = open.transaction;
    if (!open.hasDate)
        throw StatementError(t.line,
                             StatementMessages::missingOfxField(QStringLiteral("DTPOSTED")));
    if (!open.hasAmount)
        throw StatementError(t.line, StatementMessages::missingOfxField(QStringLiteral("TRNAMT")));
    const QByteArray &d = open.dateText;
    bool digits = d.size() >= 8;
    for (int i = 0; digits && i < 8; ++i)
        digits = d.at(i) >= '0' && d.at(i) <= '9';
    if (digits)
        t.date = QDate(d.left(4).toInt(), d.mid(4, 2).toInt(), d.mid(6, 2).toInt());
    if (!t.date.isValid())
        throw StatementError(t.line, StatementMessages::badOfxDate(latin(d)));
    const auto cents = CsvValues::plainAmount(QString::fromLatin1(open.amountText));
    if (!cents)
        throw StatementError(t.line, StatementMessages::badOfxAmount(latin(open.amountText)));
    t.cents = *cents;
    return t;
}
} // namespace

bool looksLikeOfx(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(4096).toUpper();
    return head.contains("OFXHEADER") || head.contains("<OFX>");
}

std::vector<OfxScannedTransaction> scan(const QByteArray &bytes)
{
    std::vector<OfxScannedTransaction> found;
    std::optional<Open> open;
    bool inOfx = false;
    bool ofxClosed = false;
    int line = 1;
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (pos < size) {
        const char c = bytes.at(pos);
        if (c == '\n') {
            ++line;
            ++pos;
            continue;
        }
        if ((c >= 0 && c < 0x20 && c != '\t' && c != '\r') || c == 0x7F) {
            if (!(c == 0x1A && bytes.mid(pos).count(char(0x1A)) == size - pos))
                throw StatementError(line, StatementMessages::notText());
            break;
        }
        if (c != '<') {
            ++pos;
            continue;
        }
        const qsizetype close = bytes.indexOf('>', pos);
        const qsizetype nextOpen = bytes.indexOf('<', pos + 1);
        if (close < 0 || (nextOpen >= 0 && nextOpen < close))
            throw StatementError(line, StatementMessages::unclosedTag());
        const QByteArray tag = bytes.mid(pos + 1, close - pos - 1);
        const int tagLine = line;
        line += int(tag.count('\n'));
        pos = close + 1;
        if (tag.startsWith('?') || tag.startsWith('!'))
            continue;
        const bool closing = tag.startsWith('/');
        const QByteArray name = (closing ? tag.mid(1) : tag).trimmed().toUpper();
        if (name == "OFX") {
            if (closing)
                ofxClosed = inOfx;
            else
                inOfx = true;
            continue;
        }
        if (name == "STMTTRN") {
            if (!closing) {
                if (open)
                    throw StatementError(tagLine, StatementMessages::transactionInTransaction(
                                                      open->transaction.line));
                open.emplace();
                open->transaction.line = tagLine;
            } else {
                if (!open)
                    throw StatementError(tagLine, StatementMessages::endWithoutStart());
                found.push_back(finish(*open));
                open.reset();
            }
            continue;
        }
        if (closing || !open)
            continue;
        if (name == "DTPOSTED") {
            open->dateText = valueAfter(bytes, pos);
            open->hasDate = true;
        } else if (name == "TRNAMT") {
            open->amountText = valueAfter(bytes, pos);
            open->hasAmount = true;
        } else if (name == "FITID") {
            open->transaction.fitId = valueAfter(bytes, pos);
        } else if (name == "NAME") {
            open->transaction.name = valueAfter(bytes, pos);
        } else if (name == "MEMO") {
            open->transaction.memo = valueAfter(bytes, pos);
        }
    }
    if (open)
        throw StatementError(line,
                             StatementMessages::truncatedInTransaction(open->transaction.line));
    if (!inOfx)
        throw StatementError(1, StatementMessages::notOfx());
    if (!ofxClosed)
        throw StatementError(line, StatementMessages::truncatedBeforeEnd());
    return found;
}

} // namespace OfxScan
