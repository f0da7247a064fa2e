#pragma once

#include "register/StatementLine.h"

#include <QByteArray>

#include <functional>
#include <vector>

// The operations of an OFX statement (1.x SGML or 2.x XML, also named .qfx), read with libofx
// (the library checks the file against the OFX DTDs and decodes the texts from the file's
// character set) after OfxScan has checked it is whole and found each transaction's line.
// Dates and cents come from the file's text; label (NAME, then MEMO when it says more) and
// FITID from the library. A transaction the library did not deliver whole stops the reading
// with its line. libofx prints nothing. The library is not reentrant: readings on several
// threads take turns.
namespace OfxStatementReader
{

// The transactions delivered so far out of those the file holds, called on the reading thread.
using Progress = std::function<void(int done, int total)>;

// Throws StatementError naming the line.
std::vector<StatementLine> read(const QByteArray &bytes, const Progress &progress = {});

} // namespace OfxStatementReader
