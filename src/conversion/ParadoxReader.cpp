#include "ParadoxReader.h"

#include "ConversionError.h"
#include "ConversionMessages.h"

#include "platform/core/Windows1252.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include "PxlibApi.h"
#include <cmath>

namespace
{
// A date field holds the days since 1 January of year 1, that day being 1.
constexpr qint64 DayZeroJulian = 1721425;
constexpr qint64 BlockUnit = 0x400;

// pxlib reports through this instead of writing to the terminal; the French reason is ours.
void silentErrors(pxdoc_t *, int, const char *, void *) {}

// Texts end at their first NUL; memos may carry padding NULs too.
QString decoded(const char *bytes, int length)
{
    int end = 0;
    while (end < length && bytes[end] != '\0')
        ++end;
    return Windows1252::decode(QByteArrayView(bytes, end));
}
} // namespace

ParadoxReader::ParadoxReader(const QString &tablePath, const QString &memoPath) : memos_(memoPath)
{
    doc_ = PX_new();
    if (!doc_)
        throw ConversionError(ConversionMessages::cannotRead(ConversionMessages::noMemory()));
    doc_->errorhandler = silentErrors;
    PX_set_parameter(doc_, "warning", "false");
    if (PX_open_file(doc_, QFile::encodeName(tablePath).constData()) < 0) {
        PX_delete(doc_);
        doc_ = nullptr;
        throw ConversionError(ConversionMessages::cannotRead(ConversionMessages::badHeader()));
    }
    // A header refused on the way leaves no open document behind.
    auto closeAgain = qScopeGuard([this] {
        PX_close(doc_);
        PX_delete(doc_);
        doc_ = nullptr;
    });
    checkLength(tablePath);
    const int count = PX_get_num_fields(doc_);
    recordSize_ = PX_get_recordsize(doc_);
    int sum = 0;
    for (int i = 0; i < count; ++i) {
        const pxfield_t *f = PX_get_field(doc_, i);
        if (!f)
            throw ConversionError(ConversionMessages::cannotRead(ConversionMessages::badHeader()));
        fields_.push_back(
            {Windows1252::decode(f->px_fname ? f->px_fname : ""), f->px_ftype, f->px_flen});
        sum += f->px_flen;
    }
    if (count <= 0 || sum != recordSize_)
        throw ConversionError(ConversionMessages::cannotRead(ConversionMessages::badHeader()));
    rowCount_ = PX_get_num_records(doc_);
    record_.resize(size_t(recordSize_));
    closeAgain.dismiss();
}

ParadoxReader::~ParadoxReader()
{
    if (doc_) {
        PX_close(doc_);
        PX_delete(doc_);
    }
}

void ParadoxReader::checkLength(const QString &tablePath)
{
    // A cut file would have pxlib read past its end: its size must hold every block the
    // header announces.
    const pxhead_t *head = doc_->px_head;
    const qint64 expected = qint64(head->px_headersize) +
                            qint64(head->px_fileblocks) * head->px_maxtablesize * BlockUnit;
    if (head->px_maxtablesize <= 0 || QFileInfo(tablePath).size() < expected ||
        head->px_numrecords < 0 || head->px_numrecords > head->px_theonumrecords)
        throw ConversionError(ConversionMessages::cannotRead(ConversionMessages::truncated()));
}

bool ParadoxReader::isSupported(int type)
{
    switch (type) {
    case pxfAlpha:
    case pxfDate:
    case pxfShort:
    case pxfLong:
    case pxfAutoInc:
    case pxfLogical:
    case pxfCurrency:
    case pxfNumber:
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb:
        return true;
    default:
        return false;
    }
}

ParadoxRow ParadoxReader::row(int index)
{
    if (!PX_get_record(doc_, index, record_.data()))
        throw ConversionError(ConversionMessages::cannotRead(ConversionMessages::badRecord(index)));
    ParadoxRow row;
    char *data = record_.data();
    for (int i = 0; i < int(fields_.size()); ++i) {
        bool readable = true;
        row.values.push_back(value(i, data, &readable));
        if (!readable)
            row.unreadable.push_back(i);
        data += fields_[size_t(i)].length;
    }
    return row;
}

QVariant ParadoxReader::value(int field, char *data, bool *readable)
{
    const ParadoxField &f = fields_[size_t(field)];
    switch (f.type) {
    case pxfAlpha: {
        char *text = nullptr;
        if (PX_get_data_alpha(doc_, data, f.length, &text) <= 0 || !text)
            return QVariant();
        const QString s = decoded(text, f.length);
        doc_->free(doc_, text);
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb: {
        // Without its memo file a table still reads; memos kept there are reported by row.
        const auto memo = memos_.read(QByteArrayView(data, f.length));
        if (!memo) {
            *readable = false;
            return QVariant();
        }
        const QString s = decoded(memo->constData(), int(memo->size()));
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case pxfDate: {
        long days = 0;
        // Day 0 is no date: some writers leave it for an empty field.
        if (PX_get_data_long(doc_, data, f.length, &days) <= 0 || days <= 0)
            return QVariant();
        return QDate::fromJulianDay(DayZeroJulian + days);
    }
    case pxfShort: {
        short value = 0;
        if (PX_get_data_short(doc_, data, f.length, &value) <= 0)
            return QVariant();
        return qlonglong(value);
    }
    case pxfLong:
    case pxfAutoInc: {
        long value = 0;
        if (PX_get_data_long(doc_, data, f.length, &value) <= 0)
            return QVariant();
        return qlonglong(value);
    }
    case pxfLogical: {
        char value = 0;
        if (PX_get_data_byte(doc_, data, f.length, &value) <= 0)
            return QVariant();
        return qlonglong(value != 0);
    }
    case pxfCurrency:
    case pxfNumber: {
        double value = 0;
        if (PX_get_data_double(doc_, data, f.length, &value) <= 0)
            return QVariant();
        return value;
    }
    default:
        return QVariant();
    }
}
