#include "ReportLayout.h"

#include "Formats.h"
#include "PlatformError.h"
#include "PlatformMessages.h"
#include "Today.h"

#include <QHash>

namespace
{

using Type = ReportBand::Type;

// The state of one run: the page being filled, the pen position, the running sums.
class Paginator
{
public:
    Paginator(const ReportDefinition &definition, ReportDataSource &source,
              const ReportPageGeometry &geometry)
        : def_(definition), source_(source), area_(geometry.printableRect()),
          date_(Formats::date(Today::date()))
    {
        const ReportBand *footer = def_.band(Type::PageFooter);
        bodyBottom_ = area_.bottom() - (footer ? footer->height : 0);
        for (const ReportBand &band : def_.bands) {
            for (const ReportItem &item : band.items) {
                if (item.kind == ReportItem::Kind::Sum && !summedFields_.contains(item.fieldName))
                    summedFields_.append(item.fieldName);
            }
        }
    }

    QList<ReportPage> run()
    {
        source_.first();
        startPage();
        if (const ReportBand *detail = def_.band(Type::Detail)) {
            for (int row = 0; !source_.eof(); ++row, source_.next()) {
                makeRoom(detail->height);
                addToSums();
                place(*detail, row);
            }
        }
        if (const ReportBand *summary = def_.band(Type::Summary)) {
            makeRoom(summary->height);
            place(*summary);
        }
        finishPage();
        return std::move(pages_);
    }

private:
    void startPage()
    {
        ReportPage page;
        page.number = int(pages_.size()) + 1;
        pages_.append(page);
        y_ = area_.top();
        if (page.number == 1) {
            if (const ReportBand *title = def_.band(Type::Title))
                place(*title);
        }
        if (const ReportBand *header = def_.band(Type::ColumnHeader))
            place(*header);
        pageHasBody_ = false;
        if (y_ > bodyBottom_)
            throw PlatformError(PlatformMessages::reportPageTooSmall());
    }

    void finishPage()
    {
        if (const ReportBand *footer = def_.band(Type::PageFooter)) {
            y_ = bodyBottom_;
            place(*footer);
        }
    }

    // Moves to a new page when a band of `height` does not fit above the footer; a band
    // that does not fit even on a fresh page would move on forever.
    void makeRoom(qreal height)
    {
        if (y_ + height <= bodyBottom_ + 1e-6) {
            pageHasBody_ = true;
            return;
        }
        if (!pageHasBody_)
            throw PlatformError(PlatformMessages::reportPageTooSmall());
        finishPage();
        startPage();
        pageHasBody_ = true;
    }

    // Every summed field gets the current row's amount once, whichever band shows its sum.
    void addToSums()
    {
        for (const QString &field : std::as_const(summedFields_))
            sums_[field] += source_.cents(field).value_or(0);
    }

    void place(const ReportBand &band, int row = -1)
    {
        ReportPage &page = pages_.last();
        const QRectF rect(area_.left(), y_, area_.width(), band.height);
        page.bands.append({band.type, rect, row});
        for (const ReportItem &item : band.items)
            placeItem(page, item, rect);
        y_ += band.height;
    }

    void placeItem(ReportPage &page, const ReportItem &item, const QRectF &band)
    {
        if (item.kind == ReportItem::Kind::Shape) {
            page.lines.append(QLineF(band.left(), band.top(), band.right(), band.top()));
            if (item.shapeKind == ReportItem::ShapeKind::TopAndBottom)
                page.lines.append(QLineF(band.left(), band.bottom(), band.right(), band.bottom()));
            return;
        }
        ReportPlacedText placed;
        placed.kind = item.kind;
        placed.text = textOf(item, page.number);
        const qreal left = item.anchoredRight ? band.right() - item.width : band.left() + item.left;
        placed.rect = QRectF(left, band.top(), item.width, band.height());
        placed.font = item.font;
        placed.alignment = item.alignment;
        placed.elide = item.elide;
        placed.fieldName = item.fieldName;
        page.texts.append(placed);
    }

    QString textOf(const ReportItem &item, int pageNumber) const
    {
        switch (item.kind) {
        case ReportItem::Kind::Label:
            return item.text;
        case ReportItem::Kind::Field:
            return source_.eof() ? QString() : source_.displayText(item.fieldName);
        case ReportItem::Kind::Sum:
            return item.sumText(sums_.value(item.fieldName));
        case ReportItem::Kind::Date:
            return item.text + date_;
        case ReportItem::Kind::PageNumber:
            return item.text + QString::number(pageNumber);
        case ReportItem::Kind::Shape:
            break;
        }
        return QString();
    }

    const ReportDefinition &def_;
    ReportDataSource &source_;
    const QRectF area_;
    const QString date_;
    qreal bodyBottom_ = 0;
    qreal y_ = 0;
    bool pageHasBody_ = false;
    QList<ReportPage> pages_;
    QHash<QString, qint64> sums_;
    QStringList summedFields_;
};

} // namespace

QList<ReportPage> ReportLayout::run(const ReportDefinition &definition, ReportDataSource &source,
                                    const ReportPageGeometry &geometry)
{
    return Paginator(definition, source, geometry).run();
}
