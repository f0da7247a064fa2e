#pragma once

#include "ProofCheck.h"
#include "ProofLink.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <vector>

class SqliteDatabase;

// The proofs attached to care entries: the files in "Pièces/" of the program directory
// (owner-only, each named by its SHA-256 and kind, stored once whatever entries hold it) and
// their links in TALO.DB (ProofLinkSchema). Reads through short-lived connections of its own;
// writes through the register's own connection when given one (setWriter), else through one of
// its own, which the register's table then takes for a write from elsewhere.
// Nothing is read before a method is called. Errors throw ProofError (refusals, files) or
// DatabaseError (TALO.DB), with the French reason.
class ProofStore
{
public:
    // Files larger than this are refused.
    static constexpr qint64 maxSize = 50LL * 1024 * 1024;

    // `readable`: the program passes ProofReadProcess::check(); without one, only the nature,
    // size and signatures of a file are checked.
    explicit ProofStore(const QString &programDir, ProofCheck readable = {});

    static QString folderName() { return QStringLiteral("Pièces"); }
    QString folder() const;

    // The links of one entry, in the order they were added.
    std::vector<ProofLink> proofsOf(qint64 entryNumber) const;
    // Every link of the register, by entry then order of addition (one query).
    std::vector<ProofLink> allLinks() const;
    // The number of proofs of each entry that has some (one query).
    QHash<qint64, int> countsByEntry() const;

    // Keeps every file and links it to the entry, or none: one refused file (a link, not a
    // regular file, too large, not a readable PDF, JPEG or PNG, unreadable, disk full) throws
    // ProofError naming it and why, and no link is written. A file that is already kept is
    // not copied again. Returns the new links in the order of `files`.
    std::vector<ProofLink> attach(qint64 entryNumber, const QStringList &files);
    // An empty or blank name is refused.
    void rename(qint64 linkId, const QString &shownName);
    // The stored file stays until the next automatic copy holds it (collectUnlinked).
    void remove(qint64 linkId);

    // Empty for a link whose stored name is not one of ours.
    QString pathOf(const ProofLink &link) const;

    // Every link kept in a TALO.DB (of the program directory or of a copy); none when the file
    // has no link table. Throws DatabaseError.
    static std::vector<ProofLink> linksIn(const QString &taloDbPath);

    // Removes the stored files no link refers to and that `isHeldElsewhere` says are safe
    // elsewhere (an automatic copy holds them), and the temporary files an interrupted
    // attachment left. Returns the number of files removed.
    int collectUnlinked(const std::function<bool(const QString &storedName)> &isHeldElsewhere);

    // Runs a write (`work`, inside one transaction made durable on return) on the register's
    // connection to TALO.DB; false when it cannot (the register is closed), and the store then
    // writes through a connection of its own.
    using Work = std::function<void(SqliteDatabase &)>;
    using Writer = std::function<bool(const Work &work)>;
    void setWriter(Writer writer) { writer_ = std::move(writer); }

    // For tests: called after each stored file is in place, before the links are written.
    void setAfterFileStoredForTesting(std::function<void(int index)> hook);

private:
    QString dbPath() const;
    void makeFolder() const;
    void write(const Work &work);

    QString programDir_;
    ProofCheck readable_;
    std::function<void(int)> afterFileStored_;
    Writer writer_;
};
