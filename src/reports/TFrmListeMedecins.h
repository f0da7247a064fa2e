#pragma once

#include "platform/report/ReportDefinition.h"
#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"
#include "platform/report/TableReportSource.h"
#include "platform/store/Table.h"

#include <QObject>

class QWidget;

// The doctors list report's form, never shown: its own table over MEDECINS.DB in primary key
// order (name, first name, number), unfiltered, and the report printed or previewed from it.
class TFrmListeMedecins : public QObject
{
    Q_OBJECT

public:
    explicit TFrmListeMedecins(QObject *parent = nullptr);

    // Opens TableMedecin over the MEDECINS.DB of `programDir`; errors propagate.
    void open(const QString &programDir);
    // At start: the address book has already reported a MEDECINS.DB it cannot open, so a failure
    // here says nothing more; print and preview try to open it again and report then.
    void openAtStart(const QString &programDir);
    Table &tableMedecin() { return TableMedecin; }
    const ReportDefinition &quickReport() const { return QuickReport2; }

    // Straight to the default printer, no dialog; failures throw PlatformError.
    void print();
    // The modal preview; returns when the user closes it.
    void preview(QWidget *parent);
    // The pages print and preview would show, laid out on `geometry`.
    QList<ReportPage> layOut(const ReportPageGeometry &geometry);

private:
    // Opens the table when the start could not.
    void prepareRun();

    Table TableMedecin;
    TableReportSource source_;
    ReportDefinition QuickReport2;
};
