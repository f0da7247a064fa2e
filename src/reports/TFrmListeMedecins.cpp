#include "TFrmListeMedecins.h"

#include "DoctorsListReport.h"

#include "platform/report/ReportLayout.h"
#include "platform/store/DatabaseError.h"
#include "platform/widgets/ReportPreviewDialog.h"
#include "platform/widgets/ReportPrinter.h"
#include "tables/DoctorTable.h"

TFrmListeMedecins::TFrmListeMedecins(QObject *parent)
    : QObject(parent), TableMedecin(DoctorTable::definition()), source_(TableMedecin),
      QuickReport2(DoctorsListReport::definition())
{
    setObjectName(QStringLiteral("TFrmListeMedecins"));
    TableMedecin.setObjectName(QStringLiteral("TableMedecin"));
}

void TFrmListeMedecins::open(const QString &programDir)
{
    TableMedecin.setDatabaseName(programDir);
    TableMedecin.open();
}

void TFrmListeMedecins::openAtStart(const QString &programDir)
{
    try {
        open(programDir);
    } catch (const DatabaseError &) {
        // Told once, by the window that owns the file; the report tries again when asked.
    }
}

void TFrmListeMedecins::print()
{
    prepareRun();
    ReportPrinter::print(QuickReport2, source_);
}

void TFrmListeMedecins::preview(QWidget *parent)
{
    prepareRun();
    ReportPreviewDialog::preview(QuickReport2, source_, parent);
}

QList<ReportPage> TFrmListeMedecins::layOut(const ReportPageGeometry &geometry)
{
    prepareRun();
    return ReportLayout::run(QuickReport2, source_, geometry);
}

void TFrmListeMedecins::prepareRun()
{
    if (!TableMedecin.isActive())
        TableMedecin.open();
}
