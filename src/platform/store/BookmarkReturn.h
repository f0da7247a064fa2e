#pragma once

#include "Table.h"

// Brings a table's cursor back to the row it was on when this was made. On the normal way out
// the caller calls restore(), whose failure it must see (the code after it relies on the row);
// when the scope ends by an error, the return is made on a best-effort basis.
class BookmarkReturn
{
public:
    explicit BookmarkReturn(Table &table) : table_(table), mark_(table.bookmark()) {}
    ~BookmarkReturn()
    {
        if (restored_)
            return;
        try {
            table_.gotoBookmark(mark_);
        } catch (...) {
            // An error is already on its way out; it is the one to report.
        }
    }
    BookmarkReturn(const BookmarkReturn &) = delete;
    BookmarkReturn &operator=(const BookmarkReturn &) = delete;

    void restore()
    {
        restored_ = true;
        table_.gotoBookmark(mark_);
    }

private:
    Table &table_;
    Bookmark mark_;
    bool restored_ = false;
};
