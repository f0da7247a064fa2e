#pragma once

#include <QString>

// Keeps a file from being written for the object's life, even by root (which ignores permission
// bits): its mode loses the write bits and, where the file system allows, it is marked
// immutable. `isReadOnly()` says whether it worked, so a test can skip saying why.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString &path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    bool isReadOnly() const { return readOnly_; }

private:
    void setImmutable(bool on);

    QString path_;
    bool readOnly_ = false;
};
