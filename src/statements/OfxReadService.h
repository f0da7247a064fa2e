#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The other end of OfxReadProcess: the program started again with `--lire-ofx` reads an OFX
// statement from its standard input through libofx and writes what it found to its standard
// output, so that a file that keeps libofx busy for ever or crashes it only takes this
// process down.
//
// The stream (QDataStream, Qt 6.4): Progress (done, total) as the library delivers
// transactions, then one Line per operation (date, cents, label, bank identifier, line of the
// file) and End with their count; or Failure with the line and French reason the reading
// stopped at.
class OfxReadService
{
public:
    enum Tag : quint8 { Progress = 'P', Line = 'L', Failure = 'E', End = 'Z' };

    static QString argument();

    // The exit status when the arguments ask for a reading (which is then done); nothing
    // otherwise. Called first thing in main(), before any application object.
    static std::optional<int> serveIfAsked(int argc, char *argv[]);

    static int serve();
};
