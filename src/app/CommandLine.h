#pragma once

#include <QStringList>

#include <optional>

// What the program does with its arguments, before any window or display is needed:
// "--version" and "--help" print and end; any other argument is refused in French.
namespace CommandLine
{

// The exit status when the program is to end here; nothing when it opens its window.
// Writes to `out` (normal output) or `err` (refusals).
std::optional<int> handle(const QStringList &arguments, QString &out, QString &err);
QString versionText();
QString helpText();
// Why the program cannot open its window when there is no display, and what to do.
QString noDisplayMessage();
} // namespace CommandLine
