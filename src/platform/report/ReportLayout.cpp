#include "ReportLayout.h"

#include "ReportTextWrap.h"
#include "platform/core/Formats.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"
#include "platform/core/Today.h"

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
                const qreal height = wrapTexts(*detail);
                makeRoom(height);
                addToSums();
                place(*detail, row, height);
                wrapped_.clear();
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

    // Breaks the band's wrapped texts into lines (kept for place()); returns the band's
    // height for this row, grown by the lines past the first of its longest text.
    qreal wrapTexts(const ReportBand &band)
    {
        qreal height = band.height;
        for (const ReportItem &item : band.items) {
            if (!item.wrap)
                continue;
            const QStringList lines = ReportTextWrap::lines(textOf(item, 0), item.font, item.width);
            height = std::max(height, band.height +
                                          (lines.size() - 1) * ReportTextWrap::lineStep(item.font));
            wrapped_.insert(&item, lines);
        }
        return height;
    }

    void place(const ReportBand &band, int row = -1, qreal height = -1)
    {
        ReportPage &page = pages_.last();
        const QRectF rect(area_.left(), y_, area_.width(), height < 0 ? band.height : height);
        page.bands.append({band.type, rect, row});
        // Every item keeps its place on the band's first line; the lines of a wrapped text
        // follow one another below it.
        const QRectF firstLine(rect.left(), rect.top(), rect.width(), band.height);
        for (const ReportItem &item : band.items) {
            const auto lines = wrapped_.constFind(&item);
            if (lines == wrapped_.cend() || lines->size() < 2) {
                placeItem(page, item, item.kind == ReportItem::Kind::Shape ? rect : firstLine);
                continue;
            }
            const qreal step = ReportTextWrap::lineStep(item.font);
            for (qsizetype k = 0; k < lines->size(); ++k)
                placeItem(page, item, firstLine.translated(0, k * step), lines->at(k));
        }
        y_ += rect.height();
    }

    void placeItem(ReportPage &page, const ReportItem &item, const QRectF &band,
                   const QString &line = QString())
    {
        if (item.kind == ReportItem::Kind::Shape) {
            page.lines.append(QLineF(band.left(), band.top(), band.right(), band.top()));
            if (item.shapeKind == ReportItem::ShapeKind::TopAndBottom)
                page.lines.append(QLineF(band.left(), band.bottom(), band.right(), band.bottom()));
            return;
        }
        ReportPlacedText placed;
        placed.kind = item.kind;
        placed.text = line.isNull() ? textOf(item, page.number) : line;
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
    // The lines of the detail's wrapped items for the row being placed (a page break between
    // breaking and placing places the footer and the header, which have none).
    QHash<const ReportItem *, QStringList> wrapped_;
    QStringList summedFields_;
};

} // namespace

QList<ReportPage> ReportLayout::run(const ReportDefinition &definition, ReportDataSource &source,
                                    const ReportPageGeometry &geometry)
{
    return Paginator(definition, source, geometry).run();
}
