#pragma once

#include "platform/core/PlatformError.h"

// An error raised by the table store (open, post, delete, field conversion, copy). An error
// of SQLite itself keeps its result code, so that the store can tell a file it cannot write
// (then opened for reading) from one it cannot read.
class DatabaseError : public PlatformError
{
public:
    explicit DatabaseError(QString message, int sqliteCode = 0)
        : PlatformError(std::move(message)), sqliteCode_(sqliteCode)
    {
    }

    int sqliteCode() const noexcept { return sqliteCode_; }

private:
    int sqliteCode_ = 0;
};
