#pragma once

#include "platform/report/ReportDefinition.h"
#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"
#include "platform/report/TableReportSource.h"
#include "platform/store/Table.h"
#include "register/CareViewFilter.h"

#include <QObject>

#include <memory>

class QWidget;
class RegisterSelectors;

// The care list report's form, never shown: its own table over TALO.DB in primary key order
// (date, beneficiary, number), filtered by the main window's two selectors, and the report
// printed or previewed from it. The main window switches the table's filter together with its
// own; the rule reads the selectors at every row, so the report prints what the grid shows.
class TFrmListeTalo : public QObject
{
    Q_OBJECT

public:
    // `selectors` must outlive the form.
    explicit TFrmListeTalo(RegisterSelectors &selectors, QObject *parent = nullptr);
    ~TFrmListeTalo() override;

    // Opens TableTalo over the TALO.DB of `programDir`; errors propagate (DatabaseError).
    void open(const QString &programDir);
    // At start: only the folder is noted; print and preview open TableTalo on their first run
    // and report a file they cannot open then.
    void openAtStart(const QString &programDir);
    Table &tableTalo() { return TableTalo; }
    const ReportDefinition &quickReport() const { return QuickReport1; }

    // Straight to the default printer, no dialog; failures throw PlatformError.
    void print();
    // The modal preview; returns when the user closes it.
    void preview(QWidget *parent);
    // The pages print and preview would show, laid out on `geometry`.
    QList<ReportPage> layOut(const ReportPageGeometry &geometry);

    // The per-row rule of the two selectors, public so that it is tested on its own.
    bool TableTaloFilterRecord(Table &table);

private:
    // Applies the selectors as they stand now before the report restarts at the first row.
    void prepareRun();

    Table TableTalo;
    TableReportSource source_;
    ReportDefinition QuickReport1;
    CareViewFilter filter_;
};
