#pragma once

#include "ReportDataSource.h"
#include "ReportDefinition.h"
#include "ReportPage.h"
#include "ReportPageGeometry.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <vector>

// The pagination of one report over its source, able to lay out all pages in one pass, or to
// find where every page starts without placing anything and then lay out any page alone from
// there: a page depends only on its first row and the running sums at its top, so the pages
// come out the same either way. The definition and the source must outlive the paginator.
class ReportPaginator
{
public:
    // Where a page starts: the row it begins with (the row count for a page holding only the
    // summary) and the running sums, in the order of summedFields(), before that row.
    struct PageStart {
        int row = 0;
        std::vector<qint64> sums;
        bool operator==(const PageStart &) const = default;
    };

    // Throws what the source throws for a field it does not know.
    ReportPaginator(const ReportDefinition &definition, ReportDataSource &source,
                    const ReportPageGeometry &geometry);

    // Restarts the source and hands over every page as it is finished.
    void layOutAll(const std::function<void(ReportPage &&)> &finished);
    // Restarts the source and walks every row, measuring bands but placing nothing.
    QList<PageStart> plan();
    // Page `number` (from 1), which starts at `start`; the source must be in the run that
    // plan() walked.
    ReportPage layOutPage(const PageStart &start, int number);

private:
    using Type = ReportBand::Type;
    enum class Mode { All, Plan, OnePage };
    struct Item {
        const ReportItem *item = nullptr;
        int handle = -1; // of a field or a summed field
        int sum = -1;    // of a sum item, in sums_
        int wrap = -1;   // of a wrapped field, in wrapCache_
    };
    struct Band {
        const ReportBand *band = nullptr;
        std::vector<Item> items;
    };

    void prepare(Band &band, Type type);
    // Walks from `start`, starting page `number`, until the end or the one page wanted.
    void walk(const PageStart &start, int number);
    // False when a one-page walk has finished its page.
    bool makeRoom(qreal height);
    void startPage(int number);
    void finishPage();
    qreal measureDetail();
    void place(const Band &band, int row = -1, qreal height = -1);
    void placeItem(const Item &item, const QRectF &band, const QString &line = QString());
    QString textOf(const Item &item) const;
    const QStringList &linesOf(const Item &item, const QString &text);

    ReportDataSource &source_;
    const QRectF area_;
    const QString date_;
    Band title_, header_, detail_, summary_, footer_;
    qreal bodyBottom_ = 0;
    std::vector<int> summedHandles_;

    // The walk under way.
    Mode mode_ = Mode::All;
    std::function<void(ReportPage &&)> finished_;
    QList<PageStart> starts_;
    ReportPage page_;
    int row_ = 0;
    bool done_ = false;
    qreal y_ = 0;
    bool pageHasBody_ = false;
    std::vector<qint64> sums_;
    // The lines of the detail's wrapped texts for the row being placed, by wrap number.
    std::vector<QStringList> rowLines_;
    // The lines each wrapped text was broken into, by wrap number and text: names repeat.
    std::vector<QHash<QString, QStringList>> wrapCache_;
};
