#pragma once

#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"
#include "register/CareFacts.h"

#include <QDialog>

#include <memory>
#include <vector>

class QChartView;
class QComboBox;
class QTableWidget;
class YearSummary;
class YearTotals;

// " Bilan annuel": for the chosen year (or all years), per beneficiary and per speciality, the
// number of care entries and how their cost splits between the C.P.A.M., the mutual insurer,
// what is still awaited from each, what is left to check once both have paid and what the
// family bears; then what the C.P.A.M. withheld by law per person and year against the yearly
// caps; below them, the same per beneficiary as stacked bars and the cost per month.
class TFrmBilanAnnuel : public QDialog
{
    Q_OBJECT

public:
    static constexpr int helpContext = 61;

    // `totals` are the whole register's (YearTotals::readAll).
    explicit TFrmBilanAnnuel(std::shared_ptr<const YearTotals> totals, QWidget *parent = nullptr);
    explicit TFrmBilanAnnuel(const std::vector<CareFacts> &entries, QWidget *parent = nullptr);
    ~TFrmBilanAnnuel() override;

    const YearSummary &summary() const { return *summary_; }
    // The year items: "Toutes" then the years with entries, most recent first.
    QStringList yearItems() const;
    void selectYear(int year);
    QList<ReportPage> layOut(const ReportPageGeometry &geometry) const;

    // Handlers.
    void lstAnneeChange();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill(QTableWidget *table, const QList<QStringList> &rows);

    std::shared_ptr<const YearTotals> totals_;
    QList<int> years_;
    std::unique_ptr<YearSummary> summary_;

    QComboBox *lstAnnee = nullptr;
    QTableWidget *grilleBeneficiaires = nullptr;
    QTableWidget *grilleSpecialites = nullptr;
    QTableWidget *grilleRetenues = nullptr;
    QChartView *graphiqueBeneficiaires = nullptr;
    QChartView *graphiqueMois = nullptr;
};
