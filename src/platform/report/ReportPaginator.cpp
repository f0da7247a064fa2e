#include "ReportPaginator.h"

#include "ReportTextWrap.h"
#include "platform/core/Formats.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"
#include "platform/core/Today.h"

namespace
{

// Names of a register that never repeat would otherwise be kept for the whole run.
constexpr qsizetype maxCachedTexts = 20'000;

} // namespace

ReportPaginator::ReportPaginator(const ReportDefinition &definition, ReportDataSource &source,
                                 const ReportPageGeometry &geometry)
    : source_(source), area_(geometry.printableRect()), date_(Formats::date(Today::date()))
{
    // Sums in the order of the bands, as the summed fields are met.
    for (const ReportBand &band : definition.bands) {
        for (const ReportItem &item : band.items) {
            if (item.kind != ReportItem::Kind::Sum)
                continue;
            const int handle = source_.fieldHandle(item.fieldName);
            if (std::find(summedHandles_.begin(), summedHandles_.end(), handle) ==
                summedHandles_.end())
                summedHandles_.push_back(handle);
        }
    }
    const std::pair<Band *, Type> bands[] = {{&title_, Type::Title},
                                             {&header_, Type::ColumnHeader},
                                             {&detail_, Type::Detail},
                                             {&summary_, Type::Summary},
                                             {&footer_, Type::PageFooter}};
    for (const auto &[band, type] : bands) {
        band->band = definition.band(type);
        if (band->band)
            prepare(*band, type);
    }
    bodyBottom_ = area_.bottom() - (footer_.band ? footer_.band->height : 0);
    rowLines_.resize(wrapCache_.size());
}

void ReportPaginator::prepare(Band &band, Type type)
{
    for (const ReportItem &reportItem : band.band->items) {
        Item item;
        item.item = &reportItem;
        if (reportItem.kind == ReportItem::Kind::Field || reportItem.kind == ReportItem::Kind::Sum)
            item.handle = source_.fieldHandle(reportItem.fieldName);
        if (reportItem.kind == ReportItem::Kind::Sum)
            item.sum = int(std::find(summedHandles_.begin(), summedHandles_.end(), item.handle) -
                           summedHandles_.begin());
        // Only a detail band grows with its texts.
        if (type == Type::Detail && reportItem.wrap && reportItem.kind != ReportItem::Kind::Shape) {
            item.wrap = int(wrapCache_.size());
            wrapCache_.emplace_back();
        }
        band.items.push_back(item);
    }
}

void ReportPaginator::layOutAll(const std::function<void(ReportPage &&)> &finished)
{
    mode_ = Mode::All;
    finished_ = finished;
    walk({0, std::vector<qint64>(summedHandles_.size(), 0)}, 1);
    finished_ = nullptr;
}

QList<ReportPaginator::PageStart> ReportPaginator::plan()
{
    mode_ = Mode::Plan;
    starts_.clear();
    walk({0, std::vector<qint64>(summedHandles_.size(), 0)}, 1);
    return std::move(starts_);
}

ReportPage ReportPaginator::layOutPage(const PageStart &start, int number)
{
    mode_ = Mode::OnePage;
    walk(start, number);
    return std::move(page_);
}

void ReportPaginator::walk(const PageStart &start, int number)
{
    row_ = start.row;
    sums_ = start.sums;
    if (mode_ == Mode::OnePage)
        source_.moveTo(start.row);
    else
        source_.first();
    startPage(number);
    if (detail_.band) {
        for (; !source_.eof(); ++row_, source_.next()) {
            const qreal height = measureDetail();
            if (!makeRoom(height))
                return;
            for (size_t i = 0; i < summedHandles_.size(); ++i)
                sums_[i] += source_.centsAt(summedHandles_[i]).value_or(0);
            place(detail_, row_, height);
        }
    }
    if (summary_.band) {
        if (!makeRoom(summary_.band->height))
            return;
        place(summary_);
    }
    finishPage();
}

void ReportPaginator::startPage(int number)
{
    if (mode_ == Mode::Plan)
        starts_.append({row_, sums_});
    page_ = ReportPage();
    page_.number = number;
    y_ = area_.top();
    if (number == 1 && title_.band)
        place(title_);
    if (header_.band)
        place(header_);
    pageHasBody_ = false;
    if (y_ > bodyBottom_)
        throw PlatformError(PlatformMessages::reportPageTooSmall());
}

void ReportPaginator::finishPage()
{
    if (footer_.band) {
        y_ = bodyBottom_;
        place(footer_);
    }
    if (mode_ == Mode::All)
        finished_(std::move(page_));
}

// Moves to a new page when a band of `height` does not fit above the footer; a band that does
// not fit even on a fresh page would move on forever.
bool ReportPaginator::makeRoom(qreal height)
{
    if (y_ + height <= bodyBottom_ + 1e-6) {
        pageHasBody_ = true;
        return true;
    }
    if (!pageHasBody_)
        throw PlatformError(PlatformMessages::reportPageTooSmall());
    const int next = page_.number + 1;
    finishPage();
    if (mode_ == Mode::OnePage)
        return false;
    startPage(next);
    pageHasBody_ = true;
    return true;
}

// The detail band's height for the current row, grown by the lines past the first of its
// longest wrapped text; the lines are kept for place().
qreal ReportPaginator::measureDetail()
{
    const qreal bandHeight = detail_.band->height;
    qreal height = bandHeight;
    for (const Item &item : detail_.items) {
        if (item.wrap < 0)
            continue;
        const QStringList &lines = linesOf(item, source_.displayTextAt(item.handle));
        height = std::max(height, bandHeight + (lines.size() - 1) *
                                                   ReportTextWrap::lineStep(item.item->font));
        rowLines_[size_t(item.wrap)] = lines;
    }
    return height;
}

const QStringList &ReportPaginator::linesOf(const Item &item, const QString &text)
{
    QHash<QString, QStringList> &cache = wrapCache_[size_t(item.wrap)];
    auto found = cache.constFind(text);
    if (found != cache.cend())
        return *found;
    if (cache.size() >= maxCachedTexts)
        cache.clear();
    return *cache.insert(text, ReportTextWrap::lines(text, item.item->font, item.item->width));
}

void ReportPaginator::place(const Band &band, int row, qreal height)
{
    const QRectF rect(area_.left(), y_, area_.width(), height < 0 ? band.band->height : height);
    y_ += rect.height();
    if (mode_ == Mode::Plan)
        return;
    page_.bands.append({band.band->type, rect, row});
    // Every item keeps its place on the band's first line; the lines of a wrapped text follow
    // one another below it.
    const QRectF firstLine(rect.left(), rect.top(), rect.width(), band.band->height);
    for (const Item &item : band.items) {
        if (item.item->kind == ReportItem::Kind::Shape) {
            placeItem(item, rect);
            continue;
        }
        if (item.wrap < 0) {
            placeItem(item, firstLine);
            continue;
        }
        const QStringList &lines = rowLines_[size_t(item.wrap)];
        const qreal step = ReportTextWrap::lineStep(item.item->font);
        for (qsizetype k = 0; k < lines.size(); ++k)
            placeItem(item, firstLine.translated(0, k * step), lines.at(k));
    }
}

void ReportPaginator::placeItem(const Item &item, const QRectF &band, const QString &line)
{
    const ReportItem &reportItem = *item.item;
    if (reportItem.kind == ReportItem::Kind::Shape) {
        page_.lines.append(QLineF(band.left(), band.top(), band.right(), band.top()));
        if (reportItem.shapeKind == ReportItem::ShapeKind::TopAndBottom)
            page_.lines.append(QLineF(band.left(), band.bottom(), band.right(), band.bottom()));
        return;
    }
    ReportPlacedText placed;
    placed.kind = reportItem.kind;
    placed.text = item.wrap >= 0 ? line : textOf(item);
    const qreal left =
        reportItem.anchoredRight ? band.right() - reportItem.width : band.left() + reportItem.left;
    placed.rect = QRectF(left, band.top(), reportItem.width, band.height());
    placed.font = reportItem.font;
    placed.alignment = reportItem.alignment;
    placed.elide = reportItem.elide;
    placed.fieldName = reportItem.fieldName;
    page_.texts.append(placed);
}

QString ReportPaginator::textOf(const Item &item) const
{
    const ReportItem &reportItem = *item.item;
    switch (reportItem.kind) {
    case ReportItem::Kind::Label:
        return reportItem.text;
    case ReportItem::Kind::Field:
        return source_.eof() ? QString() : source_.displayTextAt(item.handle);
    case ReportItem::Kind::Sum:
        return reportItem.sumText(sums_[size_t(item.sum)]);
    case ReportItem::Kind::Date:
        return reportItem.text + date_;
    case ReportItem::Kind::PageNumber:
        return reportItem.text + QString::number(page_.number);
    case ReportItem::Kind::Shape:
        break;
    }
    return QString();
}
