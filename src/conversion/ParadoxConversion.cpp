#include "ParadoxConversion.h"

#include "ConversionError.h"
#include "ConversionMessages.h"
#include "ConvertedTableWriter.h"
#include "ParadoxFiles.h"
#include "ParadoxReader.h"
#include "ParadoxRowMapper.h"

#include "platform/core/FileNames.h"
#include "platform/core/ParadoxSignature.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"
#include "tables/CareEntryTable.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace
{
// The summary box stays readable however many rows were left out.
constexpr int ListedRows = 12;
} // namespace

std::vector<const TableDefinition *> ParadoxConversion::pending(const QString &programDir)
{
    std::vector<const TableDefinition *> tables;
    for (const TableDefinition *def :
         {&CareEntryTable::definition(), &DoctorTable::definition(), &InsuredTable::definition()}) {
        if (ParadoxSignature::matches(FileNames::resolve(programDir, def->fileName())))
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

ParadoxConversion::Result ParadoxConversion::run(const QString &programDir,
                                                 const std::vector<const TableDefinition *> &tables)
{
    Result result;
    std::vector<QStringList> files;
    QStringList all;
    for (const TableDefinition *def : tables) {
        files.push_back(ParadoxFiles::ofTable(programDir, def->fileName()));
        all.append(files.back());
    }
    try {
        result.archive = ParadoxFiles::moveAside(programDir, all);
    } catch (const ConversionError &e) {
        result.failure = e.message();
        return result;
    }
    for (size_t i = 0; i < tables.size(); ++i) {
        const TableDefinition &def = *tables[i];
        const QDir archive(result.archive);
        const QString memo = ParadoxFiles::withSuffix(files[i], QStringLiteral("MB"));
        result.tables.push_back(convertTable(
            def, archive.filePath(ParadoxFiles::withSuffix(files[i], QStringLiteral("DB"))),
            memo.isEmpty() ? QString() : archive.filePath(memo),
            QDir(programDir).filePath(def.fileName())));
    }
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
        ParadoxReader reader(tablePath, memoPath);
        const ParadoxRowMapper mapper(definition, reader.fields());
        result.fieldsNotCarried = mapper.fieldsNotCarried();
        std::vector<std::pair<qlonglong, Record>> kept;
        for (int i = 0; i < reader.rowCount(); ++i) {
            const ParadoxRow row = reader.row(i);
            auto converted = mapper.convert(row);
            if (auto *record = std::get_if<Record>(&converted))
                kept.emplace_back(mapper.sequence(row), std::move(*record));
            else
                result.leftOut.push_back(
                    {i + 1, mapper.describe(row), std::get<QString>(converted)});
        }
        // Rows of one day and one person keep the order in which they were entered.
        std::stable_sort(kept.begin(), kept.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        std::vector<Record> rows;
        rows.reserve(kept.size());
        for (auto &entry : kept)
            rows.push_back(std::move(entry.second));
        ConvertedTableWriter::write(definition, destination, rows);
        result.converted = int(rows.size());
    } catch (const ConversionError &e) {
        result = TableResult{result.tableFile, 0, {}, {}, e.message()};
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
    for (const TableResult &t : tables) {
        if (!t.failure.isEmpty()) {
            lines.append(ConversionMessages::tableNotConverted(t.tableFile, t.failure));
            continue;
        }
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
    lines.append(QString());
    lines.append(ConversionMessages::originalsKept(archive));
    return lines.join(QLatin1Char('\n'));
}
