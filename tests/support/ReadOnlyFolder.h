#pragma once

#include <QString>

// Makes a folder refuse new files for the object's life, even for root (which ignores
// permission bits): the folder's mode is cleared of write bits and, for root, the folder is
// marked immutable. `isReadOnly()` says whether it worked, so a test can skip saying why.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool isReadOnly() const { return readOnly_; }

private:
    bool setImmutable(bool on);

    QString path_;
    bool immutable_ = false;
    bool readOnly_ = false;
};
