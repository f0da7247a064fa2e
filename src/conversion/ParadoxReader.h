#pragma once

#include "ParadoxMemoFile.h"

#include <QString>
#include <QVariant>

#include <vector>

struct px_doc;

// One record: a value per field, and the fields whose memo text could not be read (its .MB
// file missing or damaged), so that such a row is told apart from one with an empty memo.
struct ParadoxRow {
    std::vector<QVariant> values;
    std::vector<int> unreadable;
};

// One field of a Paradox table as its header describes it.
struct ParadoxField {
    QString name;
    int type = 0;   // pxlib's field type code (pxfAlpha, pxfDate...)
    int length = 0; // bytes it takes in a record
};

// Reads a Paradox table through pxlib (its .DB file; long memos come from its .MB file).
// Values come back as: QString for texts and memos (decoded from Windows-1252), QDate for
// dates, double for currency and numbers, qlonglong for integers and logical fields, a null
// QVariant for an empty field; fields of other kinds read as null. A file that cannot be
// read whole throws ConversionError.
class ParadoxReader
{
public:
    // `memoPath` may be empty when the table has no memo file.
    ParadoxReader(const QString &tablePath, const QString &memoPath);
    ~ParadoxReader();
    ParadoxReader(const ParadoxReader &) = delete;
    ParadoxReader &operator=(const ParadoxReader &) = delete;

    const std::vector<ParadoxField> &fields() const { return fields_; }
    int rowCount() const { return rowCount_; }
    // Row `index`, 0 first.
    ParadoxRow row(int index);

    // Whether fields of that kind are read at all.
    static bool isSupported(int type);

private:
    QVariant value(int field, char *data, bool *readable);
    void checkLength(const QString &tablePath);

    px_doc *doc_ = nullptr;
    std::vector<ParadoxField> fields_;
    int rowCount_ = 0;
    int recordSize_ = 0;
    std::vector<char> record_;
    ParadoxMemoFile memos_;
};
