#pragma once

#include "tables/CareAct.h"

#include <QHash>
#include <QString>

#include <vector>

class RowStore;

// The kind of act of each speciality met in one pass over the register, told once per
// distinct text rather than once per entry: a pass reads up to a million entries and a family
// types a few dozen specialities.
class SpecialityActs
{
public:
    CareAct of(const QString &speciality);
    // By the text's number in the store's pool of `field`, which stays the same during a pass.
    CareAct of(const RowStore &store, quint32 slot, int field);

private:
    QHash<QString, CareAct> byText_;
    QString last_; // held, so that its data cannot be reused by another text
    CareAct lastAct_ = CareAct::Consultation;
    std::vector<qint8> byNumber_; // -1: not told yet
};
