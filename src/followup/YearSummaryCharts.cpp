#include "YearSummaryCharts.h"

#include "platform/core/Formats.h"
#include "register/YearSummary.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QHorizontalStackedBarSeries>
#include <QPainter>
#include <QPalette>
#include <QValueAxis>

namespace
{

// Above this many periods, not every bar gets its label.
constexpr qsizetype maxLabels = 12;
// How many year labels hold under a chart of a third of the window.
constexpr qsizetype maxYearLabels = 6;

double euros(qint64 cents)
{
    return Formats::fromCents(cents);
}

QChart *newChart(const QString &title, QChart::ChartTheme theme)
{
    auto *chart = new QChart;
    chart->setTheme(theme);
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

// Categories along `categoryEdge`, amounts along the other edge.
QBarCategoryAxis *addAxes(QChart *chart, QAbstractSeries *series, const QStringList &categories,
                          Qt::Alignment categoryEdge)
{
    auto *categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    auto *amounts = new QValueAxis;
    // The axis labels are formatted by printf, which knows no euro sign: it goes in the title.
    amounts->setLabelFormat(QStringLiteral("%.0f"));
    amounts->setTitleText(QStringLiteral("€"));
    chart->addAxis(categoryAxis, categoryEdge);
    chart->addAxis(amounts, categoryEdge == Qt::AlignBottom ? Qt::AlignLeft : Qt::AlignBottom);
    series->attachAxis(categoryAxis);
    series->attachAxis(amounts);
    amounts->applyNiceNumbers();
    return categoryAxis;
}

} // namespace

QChart::ChartTheme YearSummaryCharts::screenTheme()
{
    return QGuiApplication::palette().color(QPalette::Base).lightness() < 128
               ? QChart::ChartThemeDark
               : QChart::ChartThemeLight;
}

QChart *YearSummaryCharts::byBeneficiary(const YearSummary &summary, QChart::ChartTheme theme)
{
    QChart *chart = newChart(QStringLiteral("Par bénéficiaire"), theme);
    struct Part {
        const char *label;
        QColor colour;
        qint64 (*amount)(const YearSummary::Row &);
    };
    const Part parts[] = {
        {"C.P.A.M.", QColor(0x2e, 0x6d, 0xb4), [](const YearSummary::Row &r) { return r.cpam; }},
        {"Mutuelle", QColor(0x3c, 0xa0, 0x5a), [](const YearSummary::Row &r) { return r.mutual; }},
        {"Attendu", QColor(0xe8, 0xa3, 0x17),
         [](const YearSummary::Row &r) { return r.awaited(); }},
        {"Reste à charge", QColor(0xc0, 0x39, 0x2b),
         [](const YearSummary::Row &r) { return r.family; }},
    };
    // Horizontal bars: the names, however long, have the room of the left edge; the first
    // name at the top.
    auto *series = new QHorizontalStackedBarSeries;
    QStringList names;
    const QList<YearSummary::Row> &rows = summary.byBeneficiary();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        names << row->name;
    QList<QBarSet *> sets;
    for (const Part &part : parts) {
        auto *set = new QBarSet(QString::fromUtf8(part.label));
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            set->append(euros(part.amount(*row)));
        series->append(set);
        sets << set;
    }
    chart->addSeries(series);
    // After the theme has dressed the series.
    for (qsizetype i = 0; i < sets.size(); ++i)
        sets[i]->setColor(parts[i].colour);
    addAxes(chart, series, names, Qt::AlignLeft);
    return chart;
}

QChart *YearSummaryCharts::costPerPeriod(const YearSummary &summary, QChart::ChartTheme theme)
{
    const bool allYears = summary.year() == YearSummary::AllYears;
    QChart *chart = newChart(allYears ? QStringLiteral("Coût par année")
                                      : QStringLiteral("Coût par mois de %1").arg(summary.year()),
                             theme);
    auto *set = new QBarSet(QStringLiteral("Coût"));
    for (qint64 cost : summary.costPerPeriod())
        set->append(euros(cost));
    auto *series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    set->setColor(QColor(0x2e, 0x6d, 0xb4));
    const QStringList &labels = summary.periodLabels();
    QBarCategoryAxis *periods = addAxes(chart, series, labels, Qt::AlignBottom);
    if (labels.size() > maxLabels) {
        // Too many years for a label under every bar (they would all shrink to "..."): one
        // label every few years, under its bar.
        periods->setVisible(false);
        auto *years = new QCategoryAxis;
        years->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        years->setRange(-0.5, double(labels.size()) - 0.5);
        // Each label needs the room of `step` bars, the first one as well.
        const qsizetype step = (labels.size() + maxYearLabels - 1) / maxYearLabels;
        years->setStartValue(-double(step));
        for (qsizetype i = 0; i < labels.size(); i += step)
            years->append(labels[i], double(i));
        chart->addAxis(years, Qt::AlignBottom);
    }
    chart->legend()->hide();
    return chart;
}

QImage YearSummaryCharts::render(QChart *chart, const QSize &size, qreal scale)
{
    QGraphicsScene scene;
    scene.addItem(chart); // the scene deletes the chart
    // On paper: no shaded card behind the chart.
    chart->setBackgroundBrush(Qt::white);
    chart->setDropShadowEnabled(false);
    chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
    QImage image(size * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())),
                 QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}
