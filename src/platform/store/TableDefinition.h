#pragma once

#include "FieldDef.h"
#include "FormatVersion.h"
#include "Record.h"
#include "SchemaObject.h"

#include <QHash>
#include <QStringList>
#include <vector>

class RowRef;

// The physical and logical definition of one table file: its file name, the SQL table inside
// it, its fields in order and its primary key. The one definition serves to create an empty
// file, to check a file at open and to build the fields of every component over it.
class TableDefinition
{
public:
    TableDefinition() = default;
    TableDefinition(QString fileName, QString sqlName, std::vector<FieldDef> fields,
                    QStringList primaryKey);

    const QString &fileName() const { return fileName_; }
    const QString &sqlName() const { return sqlName_; }
    const std::vector<FieldDef> &fields() const { return fields_; }
    const QStringList &primaryKey() const { return primaryKey_; }

    int fieldCount() const { return int(fields_.size()); }
    const FieldDef &field(int index) const { return fields_[size_t(index)]; }
    // Index of the field with that name (exact, then without regard to case); -1 if none.
    int indexOf(const QString &name) const;
    // Index of the auto-increment field that identifies rows; -1 if none.
    int rowIdIndex() const { return rowIdIndex_; }

    // Where a text field's value sits in a record (-1 for other kinds), and an empty record.
    int textSlot(int field) const { return textSlots_[size_t(field)]; }
    Record newRecord() const { return Record(fieldCount(), textCount_); }
    // A field's value as a variant of its kind's type (QString, QDate, qlonglong cents,
    // double); an invalid variant when empty. And its storing, the value being of that type.
    QVariant valueOf(const RowRef &record, int field) const;
    void store(Record &record, int field, const QVariant &value) const;

    // The SQL that creates the table and its primary index in an empty database.
    QStringList createStatements() const;
    // The name of the unique index that carries the primary key.
    QString primaryIndexName() const;
    // Every SQL object the program itself puts in the file: the table, its primary index and
    // the companions declared with it. Anything else found there is foreign (ForeignObjects).
    std::vector<SchemaObject> ownObjects() const;
    // Objects other parts of the program keep in the same file (sums, ledgers), declared
    // with the file's definition so that every opener knows them.
    void addCompanions(const std::vector<SchemaObject> &objects);

    // The versions of the file's format, oldest first (FileFormat): the last is the one the
    // program writes. A definition without a history (-1) is checked column by column only.
    void setFormatHistory(std::vector<FormatVersion> versions);
    const std::vector<FormatVersion> &formatHistory() const { return formats_; }
    int formatVersion() const { return int(formats_.size()) - 1; }

    static QString quoted(const QString &identifier);

private:
    QString fileName_;
    QString sqlName_;
    std::vector<FieldDef> fields_;
    QStringList primaryKey_;
    int rowIdIndex_ = -1;
    QHash<QString, int> byName_;
    std::vector<int> textSlots_;
    int textCount_ = 0;
    std::vector<SchemaObject> companions_;
    std::vector<FormatVersion> formats_;
};
