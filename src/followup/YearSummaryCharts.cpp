#include "YearSummaryCharts.h"

#include "platform/core/Formats.h"
#include "register/YearSummary.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QPainter>
#include <QStackedBarSeries>
#include <QValueAxis>

namespace
{

double euros(qint64 cents)
{
    return Formats::fromCents(cents);
}

QChart *newChart(const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

void addAxes(QChart *chart, QAbstractSeries *series, const QStringList &categories)
{
    auto *x = new QBarCategoryAxis;
    x->append(categories);
    auto *y = new QValueAxis;
    // The axis labels are formatted by printf, which knows no euro sign: it goes in the title.
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setTitleText(QStringLiteral("€"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    y->applyNiceNumbers();
}

} // namespace

QChart *YearSummaryCharts::byBeneficiary(const YearSummary &summary)
{
    QChart *chart = newChart(QStringLiteral("Par bénéficiaire"));
    struct Part {
        const char *label;
        QColor colour;
        qint64 (*amount)(const YearSummary::Row &);
    };
    const Part parts[] = {
        {"C.P.A.M.", QColor(0x2e, 0x6d, 0xb4), [](const YearSummary::Row &r) { return r.cpam; }},
        {"Mutuelle", QColor(0x3c, 0xa0, 0x5a), [](const YearSummary::Row &r) { return r.mutual; }},
        {"Attendu", QColor(0xe8, 0xa3, 0x17),
         [](const YearSummary::Row &r) { return r.awaitedCpam + r.awaitedMutuelle; }},
        {"Reste à charge", QColor(0xc0, 0x39, 0x2b),
         [](const YearSummary::Row &r) { return r.family; }},
    };
    auto *series = new QStackedBarSeries;
    QStringList names;
    for (const YearSummary::Row &row : summary.byBeneficiary())
        names << row.name;
    for (const Part &part : parts) {
        auto *set = new QBarSet(QString::fromUtf8(part.label));
        set->setColor(part.colour);
        for (const YearSummary::Row &row : summary.byBeneficiary())
            set->append(euros(part.amount(row)));
        series->append(set);
    }
    chart->addSeries(series);
    addAxes(chart, series, names);
    return chart;
}

QChart *YearSummaryCharts::costPerPeriod(const YearSummary &summary)
{
    const bool allYears = summary.year() == YearSummary::AllYears;
    QChart *chart = newChart(allYears ? QStringLiteral("Coût par année")
                                      : QStringLiteral("Coût par mois de %1").arg(summary.year()));
    auto *set = new QBarSet(QStringLiteral("Coût"));
    set->setColor(QColor(0x2e, 0x6d, 0xb4));
    for (qint64 cost : summary.costPerPeriod())
        set->append(euros(cost));
    auto *series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    addAxes(chart, series, summary.periodLabels());
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
