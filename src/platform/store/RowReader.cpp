#include "RowReader.h"

#include "RowStore.h"
#include "SqliteStatement.h"
#include "platform/core/Formats.h"

#include <QDate>

#include <array>
#include <bit>
#include <cstring>

namespace
{

// "YYYY-MM-DD" without going through QDate's general parser: loading is a hot path.
QDate isoDate(const char *s, int length)
{
    auto digits = [s](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            if (s[i] < '0' || s[i] > '9')
                return -1;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    if (length != 10 || s[4] != '-' || s[7] != '-')
        return QDate();
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    // A year of letters must not read as -1, which QDate takes for 1 BC.
    if (year < 0 || month < 0 || day < 0)
        return QDate();
    return QDate(year, month, day);
}

// Short texts repeat from row to row (names, means of payment, yes/no words): the last few of
// a column are remembered with their pool numbers, so a repeat is found without decoding or
// hashing it.
class RecentTexts
{
public:
    quint32 id(const char *utf8, int length, TextPool &pool)
    {
        for (const Entry &e : entries_) {
            if (e.bytes.size() == length &&
                std::memcmp(e.bytes.constData(), utf8, size_t(length)) == 0)
                return e.id;
        }
        Entry &slot = entries_[next_];
        next_ = (next_ + 1) % entries_.size();
        slot.bytes = QByteArray(utf8, length);
        slot.id = pool.intern(QString::fromUtf8(utf8, length));
        return slot.id;
    }

private:
    struct Entry {
        QByteArray bytes;
        quint32 id = 0;
    };
    std::array<Entry, 16> entries_;
    size_t next_ = 0;
};

} // namespace

RowReader::RowReader(const TableDefinition &definition, std::vector<int> stored)
    : def_(definition), stored_(std::move(stored))
{
}

QString RowReader::select(const QString &table, const QString &rest) const
{
    QStringList names;
    for (int i : stored_)
        names.append(TableDefinition::quoted(def_.field(i).name));
    return QStringLiteral("SELECT %1 FROM %2 %3")
        .arg(names.join(QStringLiteral(", ")), table, rest)
        .trimmed();
}

bool RowReader::read(SqliteStatement &st, RowStore &into, const std::atomic<bool> *stop) const
{
    std::vector<RecentTexts> recent(stored_.size());
    for (quint32 n = 1; st.step(); ++n) {
        if (stop && (n & 1023u) == 0 && stop->load(std::memory_order_relaxed))
            return false;
        const quint32 slot = into.addEmpty();
        for (size_t c = 0; c < stored_.size(); ++c) {
            const int column = int(c);
            if (st.isNull(column))
                continue;
            const int field = stored_[c];
            switch (def_.field(field).kind) {
            case FieldKind::String: {
                int length = 0;
                const char *raw = st.rawText(column, &length);
                into.setTextId(slot, field, recent[c].id(raw, length, into.pool(field)));
                break;
            }
            case FieldKind::Memo:
                into.setTextId(slot, field, into.pool(field).intern(st.text(column)));
                break;
            case FieldKind::Date: {
                int length = 0;
                const char *raw = st.rawText(column, &length);
                const QDate date = isoDate(raw, length);
                if (date.isValid())
                    into.setNumber(slot, field, date.toJulianDay());
                break;
            }
            case FieldKind::Money:
                into.setNumber(slot, field, Formats::toCents(st.real(column)));
                break;
            case FieldKind::Float:
                into.setNumber(slot, field, std::bit_cast<qint64>(st.real(column)));
                break;
            case FieldKind::AutoIncrement:
                into.setNumber(slot, field, st.int64(column));
                break;
            }
        }
    }
    return true;
}
