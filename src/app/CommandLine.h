#pragma once

#include <QStringList>

#include <optional>

// What the program does with its arguments, before any window or display is needed:
// "--version" and "--help" print and end; any other argument is refused in French.
class CommandLine
{
public:
    // The exit status when the program is to end here; nothing when it opens its window.
    // Writes to `out` (normal output) or `err` (refusals).
    static std::optional<int> handle(const QStringList &arguments, QString &out, QString &err);
    static QString versionText();
    static QString helpText();
};
