#pragma once

#include <QString>

// Recognises a table file written by the original platform's table engine from its header
// bytes, whatever its name: such a file is neither damaged nor one of ours, and SQLite must
// never be let near it (it would take it for a damaged database).
class ParadoxSignature
{
public:
    static bool matches(const QString &path);
};
