#pragma once

#include <QString>
#include <QStringList>

// The files of an earlier backup that a new one is about to replace in its target folder,
// kept aside as hard links (no byte copied, no room taken) so that a backup the person stops
// can put them back exactly as they were. A folder whose file system has no hard links (a key
// formatted for another system) cannot keep them: the backup then cannot be stopped.
class PreviousBackup
{
public:
    // Keeps aside those of `names` (with a table's -wal, -shm, -journal) present in `target`,
    // after removing what a backup cut short left there.
    PreviousBackup(const QString &target, const QStringList &names);
    ~PreviousBackup();
    PreviousBackup(const PreviousBackup &) = delete;
    PreviousBackup &operator=(const PreviousBackup &) = delete;

    // False when some file could not be kept aside: nothing is then kept.
    bool isKept() const { return kept_; }
    // Every file of `names` as it was before the backup: those it had are put back, those it
    // did not have are removed.
    void putBack();

    // What a backup cut short by a crash left in `target`.
    static void removeLeftovers(const QString &target);

private:
    QString asideName(const QString &name) const;
    void drop();

    QString target_;
    QStringList names_; // every name the backup may write, companions included
    QStringList present_;
    bool kept_ = true;
};
