#include "StatementReader.h"

#include "CsvColumnMemory.h"
#include "CsvColumnRecognition.h"
#include "CsvStatementReader.h"
#include "OfxScan.h"
#include "OfxStatementReader.h"
#include "StatementError.h"
#include "StatementMessages.h"
#include "StatementText.h"

#include <QFile>

namespace
{
QByteArray contentOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StatementError(0, QString(), StatementMessages::cannotOpen(path, file.errorString()));
    if (file.size() > StatementReader::maxBytes)
        throw StatementError(0, QString(), StatementMessages::tooLarge(path));
    QByteArray bytes = file.read(StatementReader::maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw StatementError(0, QString(), StatementMessages::cannotOpen(path, file.errorString()));
    if (bytes.size() > StatementReader::maxBytes)
        throw StatementError(0, QString(), StatementMessages::tooLarge(path));
    if (bytes.trimmed().isEmpty())
        throw StatementError(1, QString(), StatementMessages::empty(path));
    return bytes;
}

// The same error with the file's name around it.
[[noreturn]] void rethrowFor(const QString &path, const StatementError &e)
{
    throw StatementError(e.line(), e.reason(),
                         e.line() > 0 ? StatementMessages::atLine(path, e.line(), e.reason())
                                      : StatementMessages::notRead(path, e.reason()));
}

void readCsvLines(StatementFile &file, const CsvColumnChoice &choice)
{
    try {
        file.lines = CsvStatementReader::read(file.table, choice);
    } catch (const StatementError &e) {
        rethrowFor(file.path, e);
    }
    file.columns = choice;
}
} // namespace

StatementFile StatementReader::read(const QString &path, const CsvColumnMemory *memory,
                                    const OfxStatementReader::Progress &progress,
                                    const OfxReading &ofx)
{
    const QByteArray bytes = contentOf(path);
    StatementFile file;
    file.path = path;
    try {
        if (OfxScan::looksLikeOfx(bytes)) {
            file.format = StatementFile::Format::Ofx;
            file.lines = ofx ? ofx(bytes, progress) : OfxStatementReader::read(bytes, progress);
            return file;
        }
        const StatementText text = StatementText::decode(bytes);
        file.format = StatementFile::Format::Csv;
        file.encoding = text.encoding;
        file.table = CsvTable::parse(text.text);
    } catch (const StatementError &e) {
        rethrowFor(path, e);
    }
    if (const auto titled = CsvColumnRecognition::recognise(file.table)) {
        readCsvLines(file, *titled);
        return file;
    }
    if (!CsvColumnRecognition::hasOperations(file.table))
        rethrowFor(path, StatementError(1, StatementMessages::noOperations()));
    if (const auto remembered = memory ? memory->recall(file.table) : std::nullopt) {
        // Columns that no longer fit the bank's files are asked again, with the reason.
        try {
            readCsvLines(file, *remembered);
        } catch (const StatementError &e) {
            file.lines.clear();
            file.columnProblem = e.message();
        }
    }
    return file;
}

StatementFile StatementReader::withColumns(StatementFile file, const CsvColumnChoice &choice)
{
    file.lines.clear();
    file.columns.reset();
    readCsvLines(file, choice);
    return file;
}
