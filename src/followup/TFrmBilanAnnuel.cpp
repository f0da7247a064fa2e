#include "TFrmBilanAnnuel.h"

#include "ReportButtons.h"
#include "YearSummaryCharts.h"
#include "YearSummaryReport.h"

#include "platform/core/Formats.h"
#include "platform/core/Today.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "register/YearSummary.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

const QString allYearsItem = QStringLiteral("Toutes");

QTableWidget *summaryTable(const char *name, const QString &firstTitle, QWidget *parent)
{
    auto *table = new QTableWidget(parent);
    table->setObjectName(QLatin1String(name));
    QStringList titles = YearSummaryReport::columnTitles();
    titles[0] = firstTitle;
    table->setColumnCount(int(titles.size()));
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
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

QChartView *chartView(const char *name, QWidget *parent)
{
    auto *view = new QChartView(parent);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(380, 220);
    return view;
}

} // namespace

TFrmBilanAnnuel::TFrmBilanAnnuel(std::vector<CareFacts> entries, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder() | Qt::WindowMaximizeButtonHint),
      entries_(std::move(entries)), years_(YearSummary::years(entries_))
{
    setObjectName(QStringLiteral("TFrmBilanAnnuel"));
    setWindowTitle(QStringLiteral(" Bilan annuel"));
    resize(1000, 640);

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
    graphiqueBeneficiaires = chartView("graphiqueBeneficiaires", this);
    graphiqueMois = chartView("graphiqueMois", this);

    auto *body = new QGridLayout;
    body->addWidget(grilleBeneficiaires, 0, 0);
    body->addWidget(grilleSpecialites, 1, 0);
    body->addWidget(graphiqueBeneficiaires, 0, 1);
    body->addWidget(graphiqueMois, 1, 1);
    body->setColumnStretch(0, 3);
    body->setColumnStretch(1, 2);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addLayout(body, 1);
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
    summary_ = std::make_unique<YearSummary>(entries_, year);
    fill(grilleBeneficiaires, tableRows(summary_->byBeneficiary(), summary_->total()));
    fill(grilleSpecialites, tableRows(summary_->bySpeciality(), summary_->total()));
    // The views delete the charts they showed.
    graphiqueBeneficiaires->setChart(YearSummaryCharts::byBeneficiary(*summary_));
    graphiqueMois->setChart(YearSummaryCharts::costPerPeriod(*summary_));
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
