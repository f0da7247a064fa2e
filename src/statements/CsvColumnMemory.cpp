#include "CsvColumnMemory.h"

#include "CsvColumnRecognition.h"
#include "platform/core/PrivateProfile.h"

#include <QCryptographicHash>

namespace
{
QString titlesKey(const CsvRow &titles)
{
    QStringList normalised;
    for (const QString &cell : titles.cells)
        normalised.append(CsvColumnRecognition::normalised(cell));
    const QByteArray digest =
        QCryptographicHash::hash(normalised.join(u'\x1f').toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("titres-") + QString::fromLatin1(digest.toHex().left(16));
}

QString untitledKey(const CsvTable &table)
{
    const QChar sep = table.separator();
    const QString name = sep == u';'   ? QStringLiteral("pointvirgule")
                         : sep == u',' ? QStringLiteral("virgule")
                                       : QStringLiteral("tabulation");
    return QStringLiteral("sans-titres-%1-%2").arg(table.columnCount()).arg(name);
}

bool fits(const CsvTable &table, const CsvColumnChoice &choice)
{
    return choice.isComplete() && choice.width() <= table.columnCount();
}
} // namespace

CsvColumnMemory::CsvColumnMemory(QString iniPath) : iniPath_(std::move(iniPath)) {}

QString CsvColumnMemory::keyOf(const CsvTable &table, const CsvColumnChoice &choice)
{
    if (choice.headerLine > 0) {
        if (const CsvRow *titles = table.rowAt(choice.headerLine))
            return titlesKey(*titles);
    }
    return untitledKey(table);
}

QString CsvColumnMemory::valueOf(const CsvColumnChoice &choice)
{
    QStringList parts;
    auto add = [&](const char *name, int column) {
        if (column >= 0)
            parts.append(QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(column + 1));
    };
    add("date", choice.date);
    add("libelle", choice.label);
    if (choice.usesAmount()) {
        add("montant", choice.amount);
    } else {
        add("debit", choice.debit);
        add("credit", choice.credit);
    }
    if (choice.headerLine <= 0)
        parts.append(QStringLiteral("debut=%1").arg(choice.firstDataLine));
    return parts.join(u';');
}

std::optional<CsvColumnChoice> CsvColumnMemory::parseValue(const QString &value)
{
    CsvColumnChoice choice;
    for (const QString &part : value.split(u';', Qt::SkipEmptyParts)) {
        const QString name = part.section(u'=', 0, 0).trimmed().toLower();
        bool ok = false;
        const int number = part.section(u'=', 1).trimmed().toInt(&ok);
        if (!ok || number < 1 || number > 1000)
            return std::nullopt;
        if (name == u"date")
            choice.date = number - 1;
        else if (name == u"libelle")
            choice.label = number - 1;
        else if (name == u"montant")
            choice.amount = number - 1;
        else if (name == u"debit")
            choice.debit = number - 1;
        else if (name == u"credit")
            choice.credit = number - 1;
        else if (name == u"debut")
            choice.firstDataLine = number;
        else
            return std::nullopt;
    }
    if (!choice.isComplete())
        return std::nullopt;
    return choice;
}

std::optional<CsvColumnChoice> CsvColumnMemory::recall(const CsvTable &table) const
{
    int seen = 0;
    for (const CsvRow &row : table.rows()) {
        if (row.isBlank())
            continue;
        if (++seen > CsvColumnRecognition::titleSearchLines)
            break;
        const QString stored = PrivateProfile::readString(iniPath_, section(), titlesKey(row));
        if (stored.isEmpty())
            continue;
        auto choice = parseValue(stored);
        if (!choice || !fits(table, *choice))
            continue;
        choice->headerLine = row.line;
        choice->firstDataLine = row.line + 1;
        return choice;
    }
    const QString stored = PrivateProfile::readString(iniPath_, section(), untitledKey(table));
    auto choice = parseValue(stored);
    if (!choice || !fits(table, *choice))
        return std::nullopt;
    choice->headerLine = 0;
    return choice;
}

void CsvColumnMemory::remember(const CsvTable &table, const CsvColumnChoice &choice) const
{
    PrivateProfile::writeString(iniPath_, section(), keyOf(table, choice), valueOf(choice));
}
