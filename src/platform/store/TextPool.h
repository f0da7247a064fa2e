#pragma once

#include <QHash>
#include <QString>

#include <vector>

// The distinct texts of one field, each held once and named by a number: names, means of
// payment and yes/no words repeat from row to row. Number 0 is the empty text. Numbers stay
// valid while the pool lives, so equal numbers mean equal texts.
class TextPool
{
public:
    TextPool() : texts_(1) {}

    quint32 intern(const QString &text)
    {
        if (text.isEmpty())
            return 0;
        const auto found = ids_.constFind(text);
        if (found != ids_.cend())
            return *found;
        const auto id = quint32(texts_.size());
        texts_.push_back(text);
        ids_.insert(text, id);
        return id;
    }
    const QString &text(quint32 id) const { return texts_[id]; }
    quint32 size() const { return quint32(texts_.size()); }
    void clear()
    {
        texts_.assign(1, QString());
        ids_.clear();
    }

private:
    std::vector<QString> texts_;
    QHash<QString, quint32> ids_;
};
