#pragma once

#include <QString>

// One object of a table file's SQL schema, as sqlite_master names it.
struct SchemaObject {
    QString type; // "table", "index", "trigger" or "view"
    QString name;
    QString sql; // the statement creating it as sqlite_master keeps it; empty: not compared

    bool operator==(const SchemaObject &) const = default;
};
