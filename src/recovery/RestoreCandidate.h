#pragma once

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// A backup ready to be restored: its tables and listed files copied into a hidden folder of the
// program directory, every table opened there and checked for the program's fields, and the
// proofs the care table links copied into "Pièces/" there, each checked for its size and
// SHA-256 (the folder always goes with the tables, empty when nothing is linked). Only
// regular files are taken (no link, pipe or device); a table's log or rollback journal in the
// backup is read with it, so that the staged table holds every committed row on its own. The
// staged talo.ini keeps the password keys in force in the program directory. Nothing else of
// the program directory is touched; the hidden folder goes with this object.
class RestoreCandidate
{
public:
    struct Summary {
        int entries = 0;
        int doctors = 0;
        int insured = 0;
        int proofs = 0;    // links to proofs, each checked in the copy
        QDate newestEntry; // null when there is no dated entry
    };

    // How far a preparation is (any unit), told often from the thread that prepares it;
    // false once the person has asked to stop.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // Throws PlatformError with the French reason when the folder is not a usable backup.
    // A preparation stopped by the person gives no candidate, and leaves nothing behind it.
    // It touches no table component nor anything else the windows share: it may run on a
    // worker.
    static std::unique_ptr<RestoreCandidate>
    prepare(const QString &programDir, const QString &backupFolder, const Progress &progress = {});

    const QString &backupFolder() const { return backupFolder_; }
    const Summary &summary() const { return summary_; }
    QString summaryText() const;
    // Where the checked copies wait, and their names there: the three tables first.
    QString stagingFolder() const { return staging_.path(); }
    const QStringList &fileNames() const { return names_; }
    static QStringList tableFileNames();

private:
    RestoreCandidate(const QString &programDir, const QString &backupFolder);
    void copyIn(const QString &name);
    void copyChecked(const QString &source, const QString &destination, const QString &name);
    void settleTable(const QString &name);
    void inspect();
    void keepPassword();
    // Tells `progress_`; false once a stop has been asked.
    bool tell(qint64 done);
    void stageProofs();

    QString programDir_;
    QString backupFolder_;
    QTemporaryDir staging_;
    QStringList names_;
    Summary summary_;
    Progress progress_;
    qint64 copied_ = 0; // bytes of the files copied whole
    qint64 total_ = 0;
    bool stopped_ = false;
};
