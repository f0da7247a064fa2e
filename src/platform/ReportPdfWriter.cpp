#include "ReportPdfWriter.h"

#include "FileErrors.h"
#include "PlatformError.h"
#include "PlatformMessages.h"
#include "ReportLayout.h"
#include "ReportPainter.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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
        FileErrors::writeFailed(fileName, existed, FileErrors::openForWritingReason(fileName));
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
            FileErrors::writeFailed(fileName, existed, PlatformMessages::writeFailed());
        const qreal scale = pdf.resolution() / 96.0;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            if (i > 0)
                pdf.newPage();
            ReportPainter::paint(painter, pages.at(i), scale);
        }
        painter.end();
    }
    if (!file.commit())
        FileErrors::writeFailed(fileName, existed, PlatformMessages::writeFailed());
}
