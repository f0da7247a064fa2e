#pragma once

#include <QMarginsF>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>

// The paper a report is laid out on, in pixels at 96 dpi: page size and margins. The bands
// span the width between the margins.
class ReportPageGeometry
{
public:
    // Wide enough for any printer's unprintable border, narrow enough that the report
    // definitions' columns (up to 716 pixels) fit an A4 page.
    static constexpr qreal defaultMarginMillimetres = 10.0;

    // Portrait `paper` with the default margins.
    explicit ReportPageGeometry(const QPageSize &paper = QPageSize(QPageSize::A4));
    ReportPageGeometry(const QSizeF &pagePixels, const QMarginsF &marginPixels);

    // The default printer's default paper, A4 when there is no printer or it does not say.

    QSizeF pagePixels() const { return page_; }
    QMarginsF margins() const { return margins_; }
    QRectF printableRect() const;
    // The paper as a page size for printers and PDF writers.
    QPageSize pageSize() const;

    static qreal millimetresToPixels(qreal mm) { return mm / 25.4 * 96.0; }

private:
    QSizeF page_;
    QMarginsF margins_;
};
