#pragma once

#include <QString>
#include <QStringList>

// One version of a table file's format, as its definition keeps the history: the statement
// that creates the table at that version, exactly as the file's schema keeps it, and the
// statements that bring a file of the version before to this one. A file says its version in
// PRAGMA user_version; version 0 is every file made before the format had one.
struct FormatVersion {
    QString tableSql;
    QStringList fromPrevious;
};
