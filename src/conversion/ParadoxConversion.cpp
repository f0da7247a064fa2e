#include "ParadoxConversion.h"

#include "ConversionError.h"
#include "ConversionMessages.h"
#include "ConversionSteps.h"
#include "ConvertedTableWriter.h"
#include "ParadoxArchive.h"
#include "ParadoxFiles.h"
#include "ParadoxReadProcess.h"
#include "ParadoxRowMapper.h"

#include "platform/core/FileNames.h"
#include "platform/core/ParadoxSignature.h"
#include "platform/core/PlatformError.h"
#include "tables/CareEntryTable.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

namespace
{
// The summary box stays readable however many rows were left out.
constexpr int ListedRows = 12;
// Of each table's share of the progress bar, reading takes this much, writing the rest.
constexpr int ReadingShare = 800;

const std::vector<const TableDefinition *> &programTables()
{
    static const std::vector<const TableDefinition *> tables{
        &CareEntryTable::definition(), &DoctorTable::definition(), &InsuredTable::definition()};
    return tables;
}

bool isCompanion(const QString &name)
{
    return QFileInfo(name).suffix().compare(QLatin1String("DB"), Qt::CaseInsensitive) != 0;
}

// The rows of a Paradox table that make whole records, in the order they were entered;
// the others go to `result` with their reasons.
std::vector<Record> readRecords(const TableDefinition &definition, const QString &tablePath,
                                const QString &memoPath, ParadoxConversion::TableResult &result,
                                const ParadoxReadProcess::Tick &tick)
{
    const ParadoxContents contents = ParadoxReadProcess::read(tablePath, memoPath, tick);
    const ParadoxRowMapper mapper(definition, contents.fields);
    result.fieldsNotCarried = mapper.fieldsNotCarried();
    std::vector<std::pair<qlonglong, Record>> kept;
    for (size_t i = 0; i < contents.rows.size(); ++i) {
        const ParadoxRow &row = contents.rows[i];
        auto converted = mapper.convert(row);
        if (auto *record = std::get_if<Record>(&converted))
            kept.emplace_back(mapper.sequence(row), std::move(*record));
        else
            result.leftOut.push_back(
                {int(i) + 1, mapper.describe(row), std::get<QString>(converted)});
    }
    // Rows of one day and one person keep the order in which they were entered.
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<Record> rows;
    rows.reserve(kept.size());
    for (auto &entry : kept)
        rows.push_back(std::move(entry.second));
    return rows;
}

// Where a table's original files are: in the program directory, or in the archive that kept
// them when a conversion stopped before the new table was in place.
struct Source {
    QString folder;
    QStringList files;
    bool inPlace = false;
};

Source sourceOf(const QString &programDir, const TableDefinition &definition)
{
    if (ParadoxSignature::matches(FileNames::resolve(programDir, definition.fileName())))
        return {programDir, ParadoxFiles::ofTable(programDir, definition.fileName()), true};
    const QString archive = ParadoxArchive::holding(programDir, definition.fileName());
    return {archive, ParadoxFiles::ofTable(archive, definition.fileName()), false};
}
} // namespace

std::vector<const TableDefinition *> ParadoxConversion::pending(const QString &programDir)
{
    std::vector<const TableDefinition *> tables;
    for (const TableDefinition *def : programTables()) {
        const QString file = FileNames::resolve(programDir, def->fileName());
        if (ParadoxSignature::matches(file) ||
            (!QFileInfo::exists(file) &&
             !ParadoxArchive::holding(programDir, def->fileName()).isEmpty()))
            tables.push_back(def);
    }
    return tables;
}

QStringList ParadoxConversion::fileNames(const std::vector<const TableDefinition *> &tables)
{
    QStringList names;
    for (const TableDefinition *def : tables)
        names.append(def->fileName());
    return names;
}

void ParadoxConversion::removeLeftovers(const QString &programDir)
{
    const QDir dir(programDir);
    const QStringList archives = ParadoxArchive::folders(programDir);
    for (const QString &archive : archives)
        ParadoxArchive::removeLeftovers(archive);
    for (const TableDefinition *def : programTables()) {
        ConvertedTableWriter::removeLeftovers(dir.filePath(def->fileName()));
        const QString file = FileNames::resolve(programDir, def->fileName());
        if (!QFileInfo::exists(file) || ParadoxSignature::matches(file))
            continue;
        for (const QString &name : ParadoxFiles::ofTable(programDir, def->fileName())) {
            const bool kept = isCompanion(name) &&
                              std::any_of(archives.begin(), archives.end(), [&](const QString &a) {
                                  return ParadoxArchive::sameBytes(FileNames::resolve(a, name),
                                                                   dir.filePath(name));
                              });
            if (kept)
                QFile::remove(dir.filePath(name));
        }
    }
}

ParadoxConversion::Result ParadoxConversion::run(const QString &programDir,
                                                 const std::vector<const TableDefinition *> &tables,
                                                 const Progress &progress,
                                                 const StopRequested &stopRequested)
{
    removeLeftovers(programDir);
    ConversionSteps steps;
    Result result;
    std::vector<Source> sources;
    QStringList inPlace;
    for (const TableDefinition *def : tables) {
        sources.push_back(sourceOf(programDir, *def));
        if (sources.back().inPlace)
            inPlace.append(sources.back().files);
    }
    if (!inPlace.isEmpty()) {
        try {
            result.archive = ParadoxArchive::choose(programDir, inPlace);
        } catch (const PlatformError &e) {
            result.failure = e.message();
            return result;
        }
    }
    bool stopped = false;
    const auto stopIfAsked = [&] {
        stopped = stopped || (stopRequested && stopRequested());
        if (stopped)
            throw ConversionError(ConversionMessages::cancelled());
    };
    const int count = int(tables.size());
    for (int i = 0; i < count; ++i) {
        const TableDefinition &def = *tables[size_t(i)];
        const Source &source = sources[size_t(i)];
        TableResult table;
        table.tableFile = def.fileName();
        const auto report = [&](const QString &label, int share) {
            if (progress)
                progress(label, (i * 1000 + share) / count);
        };
        const auto tick = [&](int read, int total) {
            stopIfAsked();
            report(total < 0 ? ConversionMessages::progressReading(def.fileName())
                             : ConversionMessages::progressRows(def.fileName(), read, total),
                   total > 0 ? int(qint64(read) * ReadingShare / total) : 0);
        };
        const QDir folder(source.folder);
        const QString memo = ParadoxFiles::withSuffix(source.files, QStringLiteral("MB"));
        const QString tablePath =
            folder.filePath(ParadoxFiles::withSuffix(source.files, QStringLiteral("DB")));
        const QString destination =
            source.inPlace ? tablePath : QDir(programDir).filePath(def.fileName());
        QStringList copied;
        bool placed = false;
        // Copies of the originals of a table left as it was are not kept.
        const auto dropCopies = qScopeGuard([&] {
            if (!placed)
                for (const QString &name : copied)
                    QFile::remove(QDir(result.archive).filePath(name));
        });
        try {
            stopIfAsked();
            const std::vector<Record> rows = readRecords(
                def, tablePath, memo.isEmpty() ? QString() : folder.filePath(memo), table, tick);
            stopIfAsked();
            report(ConversionMessages::progressWriting(def.fileName()), ReadingShare);
            const QString built = ConvertedTableWriter::build(def, destination, rows);
            steps.reached();
            auto discard = qScopeGuard([&built] { ConvertedTableWriter::discard(built); });
            stopIfAsked();
            if (source.inPlace) {
                copied = ParadoxArchive::copyInto(programDir, result.archive, source.files);
                steps.reached();
                stopIfAsked();
            }
            // From here on the table is converted whole: a stop asked now waits for the next.
            discard.dismiss();
            ConvertedTableWriter::putInPlace(built, destination);
            placed = true;
            steps.reached();
            if (source.inPlace) {
                for (const QString &name : source.files) {
                    if (isCompanion(name))
                        QFile::remove(QDir(programDir).filePath(name));
                }
                steps.reached();
            }
            table.converted = int(rows.size());
            table.originals = source.inPlace ? result.archive : source.folder;
        } catch (const PlatformError &e) {
            table = TableResult{table.tableFile, 0, {}, {}, e.message(), {}};
        }
        result.tables.push_back(std::move(table));
    }
    // An archive made for tables none of which could be converted goes again.
    if (!result.archive.isEmpty() && QDir().rmdir(result.archive))
        result.archive.clear();
    return result;
}

ParadoxConversion::TableResult ParadoxConversion::convertTable(const TableDefinition &definition,
                                                               const QString &tablePath,
                                                               const QString &memoPath,
                                                               const QString &destination)
{
    TableResult result;
    result.tableFile = definition.fileName();
    try {
        const std::vector<Record> rows = readRecords(definition, tablePath, memoPath, result, {});
        ConvertedTableWriter::write(definition, destination, rows);
        result.converted = int(rows.size());
    } catch (const PlatformError &e) {
        result = TableResult{result.tableFile, 0, {}, {}, e.message(), {}};
    }
    return result;
}

bool ParadoxConversion::Result::complete() const
{
    if (!failure.isEmpty())
        return false;
    return std::all_of(tables.begin(), tables.end(), [](const TableResult &t) {
        return t.failure.isEmpty() && t.leftOut.empty() && t.fieldsNotCarried.isEmpty();
    });
}

QString ParadoxConversion::Result::summary() const
{
    if (!failure.isEmpty())
        return failure;
    QStringList lines;
    QStringList folders;
    for (const TableResult &t : tables) {
        if (!t.failure.isEmpty()) {
            lines.append(ConversionMessages::tableNotConverted(t.tableFile, t.failure));
            continue;
        }
        if (!folders.contains(t.originals))
            folders.append(t.originals);
        lines.append(ConversionMessages::convertedRows(t.tableFile, t.converted));
        if (!t.leftOut.empty()) {
            lines.append(ConversionMessages::rowsLeftOut(int(t.leftOut.size())));
            for (size_t i = 0; i < t.leftOut.size() && i < ListedRows; ++i)
                lines.append(ConversionMessages::rowLeftOut(
                    t.leftOut[i].number, t.leftOut[i].description, t.leftOut[i].reason));
            if (t.leftOut.size() > ListedRows)
                lines.append(
                    ConversionMessages::moreRowsLeftOut(int(t.leftOut.size()) - ListedRows));
        }
        if (!t.fieldsNotCarried.isEmpty())
            lines.append(ConversionMessages::fieldsNotCarried(t.fieldsNotCarried));
    }
    if (!folders.isEmpty())
        lines.append(QString());
    for (const QString &folder : folders)
        lines.append(ConversionMessages::originalsKept(folder));
    return lines.join(QLatin1Char('\n'));
}
