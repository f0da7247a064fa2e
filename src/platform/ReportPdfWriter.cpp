#include "ReportPdfWriter.h"

#include "PlatformError.h"
#include "PlatformMessages.h"
#include "ReportLayout.h"
#include "ReportPainter.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace
{

// Why the file could not be created, judged from what is on disk (root passes access()
// checks whatever the permission bits say).
QString openFailureReason(const QString &fileName)
{
    const QFileInfo target(fileName);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return PlatformMessages::folderMissing(QDir::toNativeSeparators(folder.filePath()));
    if (target.isDir())
        return PlatformMessages::pathIsFolder();
    return PlatformMessages::writeAccessDenied();
}

[[noreturn]] void fail(const QString &fileName, bool existed, const QString &reason)
{
    const QString full =
        existed ? reason + QLatin1Char(' ') + PlatformMessages::oldFileKept() : reason;
    throw PlatformError(PlatformMessages::cannotWriteFile(fileName, full));
}

} // namespace

void ReportPdfWriter::write(const QString &fileName, const ReportDefinition &definition,
                            ReportDataSource &source)
{
    const ReportPageGeometry geometry = ReportPageGeometry::forDefaultPaper();
    write(fileName, ReportLayout::run(definition, source, geometry), geometry, definition.title);
}

void ReportPdfWriter::write(const QString &fileName, const QList<ReportPage> &pages,
                            const ReportPageGeometry &geometry, const QString &title)
{
    const bool existed = QFileInfo::exists(fileName);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        fail(fileName, existed, openFailureReason(fileName));
    if (!existed)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    {
        QPdfWriter pdf(&file);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Talo 3.0"));
        pdf.setResolution(1200);
        pdf.setPageSize(geometry.pageSize());
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf))
            fail(fileName, existed, PlatformMessages::writeFailed());
        const qreal scale = pdf.resolution() / 96.0;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            if (i > 0)
                pdf.newPage();
            ReportPainter::paint(painter, pages.at(i), scale);
        }
        painter.end();
    }
    if (!file.commit())
        fail(fileName, existed, PlatformMessages::writeFailed());
}
