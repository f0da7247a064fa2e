#include "SpecialityActs.h"

#include "platform/store/RowStore.h"

CareAct SpecialityActs::of(const QString &speciality)
{
    // Rows share their pool's text: the same data as the last entry's is the same text.
    if (speciality.constData() == last_.constData() && speciality.size() == last_.size())
        return lastAct_;
    auto found = byText_.constFind(speciality);
    if (found == byText_.cend())
        found = byText_.insert(speciality, CareActs::of(speciality));
    last_ = speciality;
    lastAct_ = *found;
    return lastAct_;
}

CareAct SpecialityActs::of(const RowStore &store, quint32 slot, int field)
{
    const quint32 number = store.has(slot, field) ? store.textId(slot, field) : 0;
    if (number >= byNumber_.size())
        byNumber_.resize(size_t(store.pool(field).size()) + 1, -1);
    qint8 &act = byNumber_[number];
    if (act < 0)
        act = qint8(CareActs::of(store.has(slot, field) ? store.text(slot, field) : QString()));
    return CareAct(act);
}
