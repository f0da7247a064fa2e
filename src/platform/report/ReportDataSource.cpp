#include "ReportDataSource.h"

int ReportDataSource::fieldHandle(const QString &fieldName)
{
    const qsizetype known = handleNames_.indexOf(fieldName);
    if (known >= 0)
        return int(known);
    handleNames_.append(fieldName);
    return int(handleNames_.size() - 1);
}

QString ReportDataSource::displayTextAt(int handle) const
{
    return displayText(handleNames_.at(handle));
}

std::optional<qint64> ReportDataSource::centsAt(int handle) const
{
    return cents(handleNames_.at(handle));
}

void ReportDataSource::moveTo(int position)
{
    first();
    for (int i = 0; i < position && !eof(); ++i)
        next();
}
