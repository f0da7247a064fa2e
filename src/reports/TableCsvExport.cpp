#include "TableCsvExport.h"

#include "platform/core/Formats.h"
#include "platform/store/BookmarkReturn.h"
#include "platform/store/ControlsDisabled.h"
#include "platform/store/FieldDef.h"
#include "platform/store/Table.h"
#include "proofs/ProofStore.h"
#include "tables/CareEntryTable.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>

namespace
{

bool exported(const FieldDef &field)
{
    return field.kind != FieldKind::AutoIncrement;
}

// A decimal with a comma and no trailing zeros: "70", "66,67".
QString decimal(double value)
{
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString amount(qint64 cents)
{
    const qint64 whole = cents / 100;
    const qint64 rest = cents < 0 ? -(cents % 100) : cents % 100;
    const QString sign = cents < 0 && whole == 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(whole) + QLatin1Char(',') +
           QString::number(rest).rightJustified(2, QLatin1Char('0'));
}

// The names of each entry's proofs, from one reading of the links.
QHash<qint64, QStringList> proofNames(const Table &table)
{
    QHash<qint64, QStringList> names;
    if (!QFileInfo::exists(table.filePath()))
        return names;
    for (const ProofLink &link : ProofStore::linksIn(table.filePath()))
        names[link.entryNumber].append(link.shownName);
    return names;
}

} // namespace

CsvWriter::Cell TableCsvExport::cell(const FieldDef &field, const QVariant &value)
{
    if (value.isNull())
        return {QString(), false};
    switch (field.kind) {
    case FieldKind::String:
    case FieldKind::Memo:
        return {value.toString(), true};
    case FieldKind::Date:
        return {Formats::fullDate(value.toDate()), false};
    case FieldKind::Money:
        return {amount(value.toLongLong()), false};
    case FieldKind::Float:
        return {decimal(value.toDouble()) + (field.displayFormat.endsWith(QLatin1Char('%'))
                                                 ? QStringLiteral("%")
                                                 : QString()),
                false};
    case FieldKind::AutoIncrement:
        break;
    }
    return {value.toString(), false};
}

QList<CsvWriter::Row> TableCsvExport::rows(Table &table)
{
    const TableDefinition &def = table.definition();
    QList<int> fields;
    CsvWriter::Row header;
    for (int i = 0; i < def.fieldCount(); ++i) {
        if (!exported(def.field(i)))
            continue;
        fields.append(i);
        header.append({def.field(i).label(), true});
    }
    // The care table's rows carry the names of their proofs in a last column.
    const bool withProofs =
        def.fileName().compare(CareEntryTable::definition().fileName(), Qt::CaseInsensitive) == 0;
    if (withProofs)
        header.append({QStringLiteral("Pièces jointes"), true});
    QList<CsvWriter::Row> result{header};
    if (!table.isActive())
        return result;
    const QHash<qint64, QStringList> proofs =
        withProofs ? proofNames(table) : QHash<qint64, QStringList>();
    // The rows in the window's order and filter, through its cursor, which comes back after.
    const ControlsDisabled quiet(table);
    BookmarkReturn back(table);
    for (table.first(); !table.eof(); table.next()) {
        CsvWriter::Row cells;
        for (int i : fields)
            cells.append(cell(def.field(i), table.field(i).value()));
        if (withProofs)
            cells.append({proofs.value(table.fieldByName(CareFields::Numero).value().toLongLong())
                              .join(QStringLiteral("; ")),
                          true});
        result.append(cells);
    }
    back.restore();
    return result;
}

int TableCsvExport::write(Table &table, const QString &path)
{
    const QList<CsvWriter::Row> all = rows(table);
    CsvWriter::write(path, all);
    return int(all.size()) - 1;
}
