#pragma once

#include <QString>
#include <QTemporaryDir>

// A file system of a few hundred kilobytes (tmpfs) mounted in a folder of its own for the
// object's life, so that a test can fill a disk for real. Mounting needs root; when it cannot
// be done, `skipReason()` says why and the test skips.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(int kilobytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    QString skipReason() const { return skipReason_; }
    QString path() const { return folder_.path(); }
    QString filePath(const QString &name) const { return folder_.filePath(name); }
    // Takes every free byte with a file of its own (".remplissage"), so that the next write
    // fails; `free()` gives the space back.
    void fill();
    void free();

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
    QString skipReason_;
};
