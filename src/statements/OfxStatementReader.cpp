#include "OfxStatementReader.h"

#include "OfxScan.h"
#include "StatementError.h"
#include "StatementMessages.h"
#include "platform/core/Windows1252.h"

#include <QMutex>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <libofx/libofx.h>

#include <cmath>
#include <memory>

namespace OfxStatementReader
{

namespace
{
struct Delivered {
    bool amountValid = false;
    double amount = 0;
    QByteArray fitId;
    QByteArray name;
    QByteArray memo;
};

struct Reading {
    std::vector<Delivered> delivered;
    const Progress *progress = nullptr;
    int total = 0;
};

int onTransaction(const OfxTransactionData data, void *out)
{
    Delivered d;
    d.amountValid = data.amount_valid;
    d.amount = data.amount;
    if (data.fi_id_valid)
        d.fitId = QByteArray(data.fi_id);
    if (data.name_valid)
        d.name = QByteArray(data.name);
    if (data.memo_valid)
        d.memo = QByteArray(data.memo);
    auto *reading = static_cast<Reading *>(out);
    reading->delivered.push_back(std::move(d));
    if (*reading->progress)
        (*reading->progress)(int(reading->delivered.size()), reading->total);
    return 0;
}

// libofx writes its diagnostics on the standard error unless told not to.
void silenceLibofx()
{
    ofx_PARSER_msg = false;
    ofx_DEBUG_msg = false;
    ofx_DEBUG1_msg = false;
    ofx_DEBUG2_msg = false;
    ofx_DEBUG3_msg = false;
    ofx_DEBUG4_msg = false;
    ofx_DEBUG5_msg = false;
    ofx_STATUS_msg = false;
    ofx_INFO_msg = false;
    ofx_WARNING_msg = false;
    ofx_ERROR_msg = false;
}

// The library converts texts to UTF-8 from the charset the header names; a file that lies
// about it is taken as Windows-1252.
QString text(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    return utf8.hasError() ? Windows1252::decode(bytes) : decoded;
}

QString labelOf(const Delivered &d)
{
    const QString name = text(d.name).simplified();
    const QString memo = text(d.memo).simplified();
    if (memo.isEmpty() || name.contains(memo))
        return name;
    if (name.isEmpty() || memo.startsWith(name))
        return memo;
    return name + u' ' + memo;
}

bool matches(const OfxScannedTransaction &scanned, const Delivered &d)
{
    if (!d.amountValid || std::fabs(d.amount * 100.0 - double(scanned.cents)) > 0.5)
        return false;
    // The library drops the fields that follow an element it does not know.
    return (scanned.fitId.isEmpty() || !d.fitId.isEmpty()) &&
           (scanned.name.isEmpty() || !d.name.isEmpty()) &&
           (scanned.memo.isEmpty() || !d.memo.isEmpty());
}

std::vector<Delivered> libofxRead(const QByteArray &bytes, int total, const Progress &progress,
                                  int *status)
{
    // Its message switches and parser are process-wide.
    static QMutex oneAtATime;
    const QMutexLocker lock(&oneAtATime);
    // The library reads a file by name: it gets a private copy of the very bytes scanned.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        throw StatementError(1, StatementMessages::ofxReaderFailed());
    silenceLibofx();
    std::unique_ptr<void, int (*)(LibofxContextPtr)> context(libofx_get_new_context(),
                                                             libofx_free_context);
    Reading reading{{}, &progress, total};
    ofx_set_transaction_cb(context.get(), onTransaction, &reading);
    *status = libofx_proc_file(context.get(), QFile::encodeName(copy.fileName()).constData(), OFX);
    return std::move(reading.delivered);
}
} // namespace

std::vector<StatementLine> read(const QByteArray &bytes, const Progress &progress)
{
    const std::vector<OfxScannedTransaction> scanned = OfxScan::scan(bytes);
    int status = 0;
    const std::vector<Delivered> delivered =
        libofxRead(bytes, int(scanned.size()), progress, &status);

    std::vector<StatementLine> lines;
    for (size_t i = 0; i < scanned.size(); ++i) {
        const OfxScannedTransaction &s = scanned[i];
        if (i >= delivered.size() || !matches(s, delivered[i]))
            throw StatementError(s.line, StatementMessages::ofxRefused());
        StatementLine line;
        line.date = s.date;
        line.cents = s.cents;
        line.label = labelOf(delivered[i]);
        line.bankId = text(delivered[i].fitId).trimmed();
        line.sourceLine = s.line;
        lines.push_back(std::move(line));
    }
    // A status other than 0 with every transaction delivered whole (a proprietary element the
    // DTD does not know, a missing sign-on) costs nothing: the statement itself was read.
    if (delivered.size() != scanned.size() || (status != 0 && scanned.empty()))
        throw StatementError(scanned.empty() ? 1 : scanned.back().line,
                             StatementMessages::ofxRefused());
    return lines;
}

} // namespace OfxStatementReader
