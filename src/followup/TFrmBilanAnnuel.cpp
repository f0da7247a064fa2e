#include "TFrmBilanAnnuel.h"

#include "ReportButtons.h"
#include "YearSummaryCharts.h"
#include "YearSummaryReport.h"

#include "platform/core/Formats.h"
#include "platform/core/Today.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "register/YearSummary.h"
#include "register/YearTotals.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

const QString allYearsItem = QStringLiteral("Toutes");
// Rows shown before a table scrolls, total included.
constexpr int maxBeneficiaryRows = 6;
constexpr int maxSpecialityRows = 8;
constexpr int maxWithheldRows = 3;

// A read-only table of whole rows, one line each, as high as its rows.
QTableWidget *newTable(const QString &name, const QStringList &titles, QWidget *parent)
{
    auto *table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setColumnCount(int(titles.size()));
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

QTableWidget *summaryTable(const char *name, const QString &firstTitle, QWidget *parent)
{
    QStringList titles = YearSummaryReport::columnTitles();
    titles[0] = firstTitle;
    QTableWidget *table = newTable(QLatin1String(name), titles, parent);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The names take what the amounts leave.
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setMinimumSectionSize(
        table->fontMetrics().horizontalAdvance(QStringLiteral("0 000,00 €")));
    return table;
}

QStringList rowTexts(const YearSummary::Row &r)
{
    return {r.name,
            QString::number(r.count),
            Formats::money(r.cost),
            Formats::money(r.cpam),
            Formats::money(r.mutual),
            Formats::money(r.awaitedCpam),
            Formats::money(r.awaitedMutuelle),
            Formats::money(r.toCheck),
            Formats::money(r.family)};
}

QList<QStringList> tableRows(const QList<YearSummary::Row> &rows, const YearSummary::Row &total)
{
    QList<QStringList> texts;
    for (const YearSummary::Row &row : rows)
        texts << rowTexts(row);
    texts << rowTexts(total);
    return texts;
}

QTableWidget *withheldTable(QWidget *parent)
{
    QTableWidget *table = newTable(QStringLiteral("grilleRetenues"),
                                   {QStringLiteral("Franchises et participations"),
                                    QStringLiteral("Participations\n(plafond annuel)"),
                                    QStringLiteral("Franchises\n(plafond annuel)")},
                                   parent);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

// Per person and year, how much of each cap is used; the last row the sums.
QList<QStringList> withheldRows(const YearSummary &summary)
{
    QList<QStringList> texts;
    for (const YearSummary::Withheld &w : summary.withheld())
        texts << QStringList{w.personAndYear(), YearSummary::Withheld::ofCap(w.participations),
                             YearSummary::Withheld::ofCap(w.franchises)};
    const YearSummary::Row &total = summary.total();
    texts << QStringList{total.name, Formats::money(total.participations),
                         Formats::money(total.franchises)};
    return texts;
}

QChartView *chartView(const char *name, QWidget *parent)
{
    auto *view = new QChartView(parent);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(300, 200);
    return view;
}

// As high as its rows, up to `maxRows` of them: no empty half-table, and the rest of the
// height goes to the charts.
void fitHeight(QTableWidget *table, int maxRows)
{
    const int rows = std::min(table->rowCount(), maxRows);
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int r = 0; r < rows; ++r)
        height += table->rowHeight(r);
    table->setFixedHeight(height);
}

} // namespace

TFrmBilanAnnuel::TFrmBilanAnnuel(const std::vector<CareFacts> &entries, QWidget *parent)
    : TFrmBilanAnnuel(std::make_shared<const YearTotals>(entries), parent)
{
}

TFrmBilanAnnuel::TFrmBilanAnnuel(std::shared_ptr<const YearTotals> totals, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder() | Qt::WindowMaximizeButtonHint),
      totals_(std::move(totals)), years_(totals_->years())
{
    setObjectName(QStringLiteral("TFrmBilanAnnuel"));
    setWindowTitle(QStringLiteral(" Bilan annuel"));
    resize(1000, 700);

    lstAnnee = new QComboBox(this);
    lstAnnee->setObjectName(QStringLiteral("lstAnnee"));
    lstAnnee->addItems(yearItems());
    auto *yearCaption = new QLabel(QStringLiteral("A&nnée :"), this);
    yearCaption->setBuddy(lstAnnee);
    auto *top = new QHBoxLayout;
    top->addWidget(yearCaption);
    top->addWidget(lstAnnee);
    top->addStretch();

    grilleBeneficiaires = summaryTable("grilleBeneficiaires", QStringLiteral("Bénéficiaire"), this);
    grilleSpecialites = summaryTable("grilleSpecialites", QStringLiteral("Spécialité"), this);
    grilleRetenues = withheldTable(this);
    graphiqueBeneficiaires = chartView("graphiqueBeneficiaires", this);
    graphiqueMois = chartView("graphiqueMois", this);

    // The tables across the whole width, every column in sight; the charts share what is left.
    auto *charts = new QHBoxLayout;
    charts->addWidget(graphiqueBeneficiaires);
    charts->addWidget(graphiqueMois);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(grilleBeneficiaires);
    column->addWidget(grilleSpecialites);
    column->addWidget(grilleRetenues);
    column->addLayout(charts, 1);
    column->addLayout(ReportButtons::create(
        *this,
        LaidOutReport(QStringLiteral("Bilan annuel"),
                      [this](const ReportPageGeometry &g) { return layOut(g); }),
        helpContext));

    connect(lstAnnee, &QComboBox::currentIndexChanged, this, &TFrmBilanAnnuel::lstAnneeChange);

    // This year when it has entries, else the latest year that has, else all years.
    const int thisYear = Today::date().year();
    selectYear(years_.contains(thisYear) ? thisYear : years_.value(0, YearSummary::AllYears));
    if (!summary_)
        lstAnneeChange();
}

TFrmBilanAnnuel::~TFrmBilanAnnuel() = default;

QStringList TFrmBilanAnnuel::yearItems() const
{
    QStringList items{allYearsItem};
    for (int year : years_)
        items << QString::number(year);
    return items;
}

void TFrmBilanAnnuel::selectYear(int year)
{
    const int index = year == YearSummary::AllYears ? 0 : int(years_.indexOf(year)) + 1;
    if (index >= 0 && index != lstAnnee->currentIndex())
        lstAnnee->setCurrentIndex(index);
    else if (!summary_)
        lstAnneeChange();
}

void TFrmBilanAnnuel::lstAnneeChange()
{
    const int index = lstAnnee->currentIndex();
    const int year = index <= 0 ? YearSummary::AllYears : years_.value(index - 1);
    summary_ = std::make_unique<YearSummary>(*totals_, year);
    fill(grilleBeneficiaires, tableRows(summary_->byBeneficiary(), summary_->total()));
    fill(grilleSpecialites, tableRows(summary_->bySpeciality(), summary_->total()));
    fill(grilleRetenues, withheldRows(*summary_));
    fitHeight(grilleBeneficiaires, maxBeneficiaryRows);
    fitHeight(grilleSpecialites, maxSpecialityRows);
    fitHeight(grilleRetenues, maxWithheldRows);
    // The views delete the charts they showed.
    const QChart::ChartTheme theme = YearSummaryCharts::screenTheme();
    graphiqueBeneficiaires->setChart(YearSummaryCharts::byBeneficiary(*summary_, theme));
    graphiqueMois->setChart(YearSummaryCharts::costPerPeriod(*summary_, theme));
}

void TFrmBilanAnnuel::fill(QTableWidget *table, const QList<QStringList> &rows)
{
    table->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto *item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            if (r == rows.size() - 1) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            table->setItem(r, c, item);
        }
    }
}

void TFrmBilanAnnuel::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DialogPlacement::centreOnScreen(this);
    lstAnnee->setFocus();
}

QList<ReportPage> TFrmBilanAnnuel::layOut(const ReportPageGeometry &geometry) const
{
    return YearSummaryReport::layOut(*summary_, geometry);
}
