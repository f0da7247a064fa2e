#pragma once

#include <QtGlobal>

// A saved cursor position: the identity of a row, valid as long as the row exists.
struct Bookmark {
    qint64 rowId = 0;
    bool isValid() const { return rowId != 0; }
};
