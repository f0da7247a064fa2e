#include "ParadoxReadProcess.h"

#include "ConversionError.h"
#include "ConversionMessages.h"
#include "ParadoxReadService.h"

#include "platform/core/ChildReading.h"

#include <QDataStream>
#include <QVariantList>

namespace
{
int silenceLimit = 30000;
constexpr int MaxFields = 255;

[[noreturn]] void refuse(const QString &reason)
{
    throw ConversionError(ConversionMessages::cannotRead(reason));
}

// Reads what the reading process has written so far, one whole message at a time.
class Receiver
{
public:
    explicit Receiver(QIODevice *device) : in_(device) { in_.setVersion(QDataStream::Qt_6_4); }

    // Takes every whole message available; false when a message is still incomplete.
    void take(QIODevice &device, ParadoxContents &contents)
    {
        while (!ended_ && device.bytesAvailable() > 0) {
            in_.startTransaction();
            quint8 tag = 0;
            in_ >> tag;
            switch (tag) {
            case ParadoxReadService::Fields:
                readFields(contents);
                break;
            case ParadoxReadService::Row:
                readRow(contents);
                break;
            case ParadoxReadService::Failure: {
                QString message;
                in_ >> message;
                if (in_.commitTransaction())
                    throw ConversionError(message);
                break;
            }
            case ParadoxReadService::End:
                if (in_.commitTransaction()) {
                    if (expected_ < 0 || int(contents.rows.size()) != expected_)
                        refuse(ConversionMessages::readerGarbled());
                    ended_ = true;
                }
                break;
            default:
                in_.abortTransaction();
                break;
            }
            if (in_.status() == QDataStream::ReadPastEnd) {
                in_.resetStatus(); // the rest of the message has not come yet
                return;
            }
            if (in_.status() != QDataStream::Ok)
                refuse(ConversionMessages::readerGarbled());
            progressed_ = true;
        }
    }

    bool ended() const { return ended_; }
    int expected() const { return expected_; }
    // Whether anything came since the last call.
    bool progressed() { return std::exchange(progressed_, false); }

private:
    void readFields(ParadoxContents &contents)
    {
        qint32 count = 0;
        in_ >> count;
        if (count <= 0 || count > MaxFields || expected_ >= 0) {
            in_.abortTransaction();
            return;
        }
        std::vector<ParadoxField> fields(static_cast<size_t>(count));
        for (ParadoxField &field : fields) {
            qint32 type = 0, length = 0;
            in_ >> field.name >> type >> length;
            field.type = type;
            field.length = length;
        }
        qint32 rows = 0;
        in_ >> rows;
        if (!in_.commitTransaction())
            return;
        if (rows < 0)
            refuse(ConversionMessages::readerGarbled());
        contents.fields = std::move(fields);
        expected_ = rows;
    }

    void readRow(ParadoxContents &contents)
    {
        QVariantList values;
        QList<qint32> unreadable;
        in_ >> values >> unreadable;
        if (!in_.commitTransaction())
            return;
        const int fieldCount = int(contents.fields.size());
        if (expected_ < 0 || int(contents.rows.size()) >= expected_ || values.size() != fieldCount)
            refuse(ConversionMessages::readerGarbled());
        ParadoxRow row;
        row.values.assign(values.begin(), values.end());
        for (qint32 field : unreadable) {
            if (field < 0 || field >= fieldCount)
                refuse(ConversionMessages::readerGarbled());
            row.unreadable.push_back(field);
        }
        contents.rows.push_back(std::move(row));
    }

    QDataStream in_;
    int expected_ = -1;
    bool ended_ = false;
    bool progressed_ = false;
};
} // namespace

int ParadoxReadProcess::silenceLimitMs()
{
    return silenceLimit;
}

void ParadoxReadProcess::setSilenceLimitMs(int milliseconds)
{
    silenceLimit = milliseconds;
}

ParadoxContents ParadoxReadProcess::read(const QString &tablePath, const QString &memoPath,
                                         const Tick &tick)
{
    QStringList arguments{ParadoxReadService::argument(), tablePath};
    if (!memoPath.isEmpty())
        arguments.append(memoPath);
    ChildReading child(arguments);
    ParadoxContents contents;
    Receiver receiver(&child.process());
    const auto take = [&receiver, &contents](QIODevice &output) {
        receiver.take(output, contents);
        if (receiver.ended())
            return ChildReading::Taken::All;
        return receiver.progressed() ? ChildReading::Taken::Some : ChildReading::Taken::Nothing;
    };
    // Also while nothing comes: the caller keeps its window alive, and may stop by throwing.
    const auto poll = [&tick, &receiver, &contents] {
        if (tick)
            tick(int(contents.rows.size()), receiver.expected());
        return false;
    };
    switch (child.wait({-1, silenceLimit}, take, poll)) {
    case ChildReading::End::Answered:
        return contents;
    case ChildReading::End::NotStarted:
        refuse(ConversionMessages::readerNotStarted());
    case ChildReading::End::Crashed:
        refuse(ConversionMessages::readerStopped());
    case ChildReading::End::Silent:
        refuse(ConversionMessages::readerSilent((silenceLimit + 999) / 1000));
    default:
        refuse(ConversionMessages::readerGarbled());
    }
}
