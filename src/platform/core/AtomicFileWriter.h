#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

// Replaces a file whole or not at all. The new content goes to a hidden temporary file beside
// it (FileNames::temporaryTemplate), is flushed and synchronised to the disk, and only then
// renamed over the old file. Every step is checked: QSaveFile::commit() would report success
// when the last buffered bytes never reached a full disk. A new file is readable by its owner
// only (health data); an existing one keeps its permissions. A symbolic link at the
// destination is replaced by the new file, never written through. Failures throw PlatformError
// with the French reason, the old file left as it was and no temporary file behind.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString &path);
    // A writer destroyed without commit() removes its temporary file.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    // For writers that need a device (QPdfWriter); errors are caught at commit().
    QIODevice &device() { return file_; }
    void write(const QByteArray &bytes);
    void commit();

    // Removes what writers of `path` killed part-way left beside it: only hidden temporary
    // files of our own pattern for that very name (FileNames::isTemporaryOf).
    static void removeLeftovers(const QString &path);

    // Throws the write error of this file (the old file kept), removing the temporary file.
    [[noreturn]] void fail(const QString &reason);

private:
    QString path_;
    bool existed_ = false;
    QTemporaryFile file_;
};
