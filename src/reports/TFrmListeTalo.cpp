#include "TFrmListeTalo.h"

#include "CareListReport.h"

#include "platform/report/ReportLayout.h"
#include "platform/store/DatabaseError.h"
#include "platform/widgets/ReportPreviewDialog.h"
#include "platform/widgets/ReportPrinter.h"
#include "tables/CareEntryTable.h"
#include "register/RegisterSelectors.h"

TFrmListeTalo::TFrmListeTalo(RegisterSelectors &selectors, QObject *parent)
    : QObject(parent), TableTalo(CareEntryTable::definition()), source_(TableTalo),
      QuickReport1(CareListReport::definition()), filter_(selectors)
{
    setObjectName(QStringLiteral("TFrmListeTalo"));
    TableTalo.setObjectName(QStringLiteral("TableTalo"));
    TableTalo.onFilterRecord = [this](Table &table) { return TableTaloFilterRecord(table); };
    CareViewFilter::declareFields(TableTalo);
}

TFrmListeTalo::~TFrmListeTalo()
{
    TableTalo.onFilterRecord = nullptr;
}

void TFrmListeTalo::open(const QString &programDir)
{
    TableTalo.setDatabaseName(programDir);
    TableTalo.open();
}

void TFrmListeTalo::openAtStart(const QString &programDir)
{
    // Opened when a report first runs (on the rows the main window already holds). The main
    // window reports a file it cannot open.
    TableTalo.setDatabaseName(programDir);
}

void TFrmListeTalo::print()
{
    prepareRun();
    ReportPrinter::print(QuickReport1, source_);
}

void TFrmListeTalo::preview(QWidget *parent)
{
    prepareRun();
    ReportPreviewDialog::preview(QuickReport1, source_, parent);
}

QList<ReportPage> TFrmListeTalo::layOut(const ReportPageGeometry &geometry)
{
    prepareRun();
    return ReportLayout::run(QuickReport1, source_, geometry);
}

bool TFrmListeTalo::TableTaloFilterRecord(Table &table)
{
    return filter_.accepts(table);
}

void TFrmListeTalo::prepareRun()
{
    if (!TableTalo.isActive()) {
        TableTalo.open(); // filtered while it loads, by the selectors as they stand
        return;
    }
    // The view was built when the filter was last switched; the selectors may have moved
    // since without a switch (a beneficiary removed from the list).
    TableTalo.refilter();
}
