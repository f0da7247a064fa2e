#pragma once

#include <QByteArray>
#include <QString>

// The text of a statement file as banks write it: UTF-8 with or without its mark, UTF-16 with
// its mark, or else Windows-1252 (a byte sequence that is not UTF-8 is taken as the code page).
struct StatementText {
    QString text;
    QString encoding; // "UTF-8", "UTF-16" or "Windows-1252"

    static StatementText decode(const QByteArray &bytes);

    // Line (1 first) of the first character that is no text (a control other than tab, line
    // feed and carriage return), or 0 when there is none. A Ctrl-Z ending the file (old
    // exports) counts as text.
    static int firstLineNotText(const QString &text);
};
