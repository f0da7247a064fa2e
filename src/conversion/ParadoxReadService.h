#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The other end of ParadoxReadProcess: the program started again with a hidden argument reads
// one Paradox table through pxlib and writes its fields and rows to its standard output, so
// that a file that makes pxlib loop or crash only takes this process down.
//
// The stream (QDataStream, Qt 6.4): Fields (count, then name, type, length of each, then the
// row count), one Row per record (its values, the fields whose memo is unreadable), then End;
// or Failure with the French reason the table cannot be read.
class ParadoxReadService
{
public:
    enum Tag : quint8 { Fields = 'F', Row = 'R', Failure = 'E', End = 'Z' };

    // "--lire-paradox": the program's arguments are then TABLE [MEMO].
    static QString argument();

    // The exit status when the arguments ask for a reading (which is then done); nothing
    // otherwise. Called first thing in main(), before any application object.
    static std::optional<int> serveIfAsked(int argc, char *argv[]);

    static int serve(const QString &tablePath, const QString &memoPath);
};
