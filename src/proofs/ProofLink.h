#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One proof attached to one care entry: the stored file (named by its content, shared by every
// entry that holds the same bytes) and what the person sees of it.
struct ProofLink {
    qint64 id = 0;
    qint64 entryNumber = 0;
    QString storedName; // "<sha-256 in hex>.pdf", in the folder "Pièces/"
    QString shownName;  // the original file's name, as the person may rename it
    QDateTime added;
    qint64 size = 0;
    QByteArray sha256; // raw bytes
};
