#pragma once

#include "CareSearchQuery.h"

#include "platform/store/Bookmark.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class RowStore;
class Table;

// One care entry found: what the list of results shows of it, and its row.
struct CareSearchHit {
    Bookmark row;
    QDate date;
    QString beneficiary, doctor;
    std::optional<qint64> cost; // cents
};

// Finds care entries in the whole register, whatever the view, reading the rows the table
// already holds in memory (never the file; a record being edited counts as last stored). Each
// distinct text of a field is folded once for the life of the object and compared once per
// word and search, so a search costs one pass over the packed rows.
class CareSearch
{
public:
    explicit CareSearch(const Table &table);
    ~CareSearch();
    CareSearch(const CareSearch &) = delete;
    CareSearch &operator=(const CareSearch &) = delete;

    // The entries matching every word of `query`, the most recent care first (in the table's
    // order, reversed); none for an empty query.
    std::vector<CareSearchHit> find(const CareSearchQuery &query);

private:
    struct TextField {
        int index = -1;
        std::vector<QString> folded;    // by pool number, filled as the texts are first met
        std::vector<QString> originals; // the texts they were folded from
    };
    bool matches(const RowStore &store, quint32 slot, const CareSearchQuery::Term &term,
                 std::vector<std::vector<qint8>> &verdicts);
    bool textMatches(const RowStore &store, quint32 slot, size_t field,
                     const CareSearchQuery::Term &term, std::vector<qint8> &verdicts);

    const Table &table_;
    std::vector<TextField> texts_;
    std::vector<int> money_; // stored amounts
    int date_, cost_, cpam_, mutual_, beneficiary_, doctor_;
};
