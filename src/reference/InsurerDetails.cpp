#include "InsurerDetails.h"

#include "platform/core/FileNames.h"
#include "platform/core/LineBreaks.h"
#include "platform/core/PlatformError.h"
#include "platform/core/SideFile.h"

#include <QFileInfo>

namespace
{

constexpr InsurerDetails::File files[] = {InsurerDetails::File::Social,
                                          InsurerDetails::File::Mutual};

QStringList fitted(const QStringList &values, int count)
{
    QStringList fit = values.mid(0, count);
    while (fit.size() < count)
        fit.append(QString());
    return fit;
}

} // namespace

QString InsurerDetails::fileName(File file)
{
    return file == File::Social ? QStringLiteral("talosoc.inf") : QStringLiteral("mutuelle.inf");
}

int InsurerDetails::lineCount(File file)
{
    return file == File::Social ? 4 : 5;
}

InsurerDetails::InsurerDetails()
{
    for (File file : files)
        values_[slot(file)] = fitted({}, lineCount(file));
}

QStringList InsurerDetails::values(File file) const
{
    return values_[slot(file)];
}

void InsurerDetails::setValues(File file, const QStringList &values)
{
    values_[slot(file)] = fitted(values, lineCount(file));
}

bool InsurerDetails::isKept(File file) const
{
    return kept_[slot(file)];
}

QStringList InsurerDetails::load(const QString &programDir)
{
    QStringList errors;
    for (File file : files) {
        setValues(file, {});
        kept_[slot(file)] = false;
        const QString path = FileNames::resolve(programDir, fileName(file));
        // A broken link is as good as missing: there is nothing behind it to protect.
        if (!QFileInfo::exists(path))
            continue;
        try {
            setValues(file, SideFile::readLines(path));
        } catch (const PlatformError &e) {
            kept_[slot(file)] = true;
            errors.append(e.message());
        }
    }
    return errors;
}

void InsurerDetails::save(const QString &programDir) const
{
    QStringList errors;
    for (File file : files) {
        if (isKept(file))
            continue;
        QStringList lines;
        for (const QString &value : values(file))
            lines.append(LineBreaks::flattened(value));
        try {
            SideFile::writeLines(FileNames::resolve(programDir, fileName(file)), lines);
        } catch (const PlatformError &e) {
            errors.append(e.message());
        }
    }
    if (!errors.isEmpty())
        throw PlatformError(errors.join(QStringLiteral("\n\n")));
}
