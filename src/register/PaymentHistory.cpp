#include "PaymentHistory.h"

#include <algorithm>
#include <array>

namespace
{

// Rates the national insurance applies, the commonest first.
constexpr int usualRates[] = {70, 60, 100};
constexpr qint64 mostWithheld = 400;
constexpr qint64 withheldStep = 50;

} // namespace

void PaymentHistory::add(Tally &tally, qint64 value, const QDate &date)
{
    for (Seen &s : tally) {
        if (s.value == value) {
            ++s.count;
            s.latest = std::max(s.latest, date);
            return;
        }
    }
    tally.push_back({value, 1, date});
}

std::vector<qint64> PaymentHistory::ordered(const Tally &tally)
{
    Tally sorted = tally;
    std::sort(sorted.begin(), sorted.end(), [](const Seen &a, const Seen &b) {
        return a.count != b.count ? a.count > b.count : a.latest > b.latest;
    });
    std::vector<qint64> values;
    for (const Seen &s : sorted)
        values.push_back(s.value);
    return values;
}

std::optional<PaymentHistory::Rate> PaymentHistory::rateOf(qint64 base, qint64 paid)
{
    if (base <= 0 || paid <= 0)
        return std::nullopt;
    for (int percent : usualRates) {
        const qint64 full = (base * percent + 50) / 100;
        const qint64 withheld = full - paid;
        // A cent either way is the payer's rounding.
        const qint64 steps = (withheld + withheldStep / 2) / withheldStep;
        if (withheld >= -1 && withheld <= mostWithheld + 1 &&
            std::abs(withheld - steps * withheldStep) <= 1)
            return Rate{percent, steps * withheldStep};
    }
    return std::nullopt;
}

int PaymentHistory::id(const QString &text) const
{
    return text.isEmpty() ? 0 : names_.value(text.simplified().toUpper(), -1);
}

int PaymentHistory::intern(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const QString name = text.simplified().toUpper();
    if (name.isEmpty())
        return 0;
    const auto found = names_.constFind(name);
    if (found != names_.constEnd())
        return *found;
    const int next = int(names_.size()) + 1;
    names_.insert(name, next);
    return next;
}

PaymentHistory::PaymentHistory(const std::vector<CareFacts> &entries)
{
    std::array<std::vector<int>, 2> delays;
    for (const CareFacts &e : entries) {
        const int doctor = intern(e.doctor), speciality = intern(e.speciality);
        const int beneficiary = intern(e.beneficiary);
        const auto record = [&](AwaitedPayer payer, qint64 paid, const QDate &date) {
            if (paid <= 0 || !date.isValid())
                return;
            const int p = int(payer);
            if (doctor) {
                add(amounts_[Key{p, beneficiary, Doctor, doctor, e.cost}], paid, date);
                add(amounts_[Key{p, 0, Doctor, doctor, e.cost}], paid, date);
            }
            if (speciality)
                add(amounts_[Key{p, 0, Speciality, speciality, e.cost}], paid, date);
            if (e.date.isValid())
                delays[payer == AwaitedPayer::Cpam ? 0 : 1].push_back(int(e.date.daysTo(date)));
        };
        record(AwaitedPayer::Cpam, e.cpam, e.cpamDate);
        record(AwaitedPayer::Mutuelle, e.mutual, e.mutuelleDate);
        if (!e.cpamDate.isValid())
            continue;
        if (const auto rate = rateOf(e.base, e.cpam)) {
            const qint64 packed = rate->percent * 10000 + rate->withheld;
            if (doctor)
                add(rates_[Key{0, 0, Doctor, doctor, 0}], packed, e.cpamDate);
            if (speciality)
                add(rates_[Key{0, 0, Speciality, speciality, 0}], packed, e.cpamDate);
        }
    }
    for (size_t p = 0; p < 2; ++p) {
        std::vector<int> &d = delays[p];
        if (d.size() < 5)
            continue;
        const auto at = [&d](size_t k) {
            std::nth_element(d.begin(), d.begin() + qsizetype(k), d.end());
            return d[k];
        };
        delays_[p] = {std::max(0, at(d.size() / 20)), at(d.size() - 1 - d.size() / 20)};
    }
}

PaymentHistory::Delay PaymentHistory::delay(AwaitedPayer payer) const
{
    return delays_[payer == AwaitedPayer::Cpam ? 0 : 1];
}

std::vector<qint64> PaymentHistory::sameDoctor(AwaitedPayer payer, const CareFacts &entry) const
{
    const int doctor = id(entry.doctor);
    if (doctor <= 0)
        return {};
    const int who = id(entry.beneficiary);
    for (int w : {who, 0}) {
        if (w < 0)
            continue;
        const auto found = amounts_.constFind(Key{int(payer), w, Doctor, doctor, entry.cost});
        if (found != amounts_.constEnd())
            return ordered(*found);
    }
    return {};
}

std::vector<qint64> PaymentHistory::sameSpeciality(AwaitedPayer payer, const CareFacts &entry) const
{
    const int speciality = id(entry.speciality);
    if (speciality <= 0)
        return {};
    const auto found = amounts_.constFind(Key{int(payer), 0, Speciality, speciality, entry.cost});
    return found != amounts_.constEnd() ? ordered(*found) : std::vector<qint64>{};
}

std::optional<PaymentHistory::Rate> PaymentHistory::cpamRate(const CareFacts &entry) const
{
    for (const Key &key :
         {Key{0, 0, Doctor, id(entry.doctor), 0}, Key{0, 0, Speciality, id(entry.speciality), 0}}) {
        if (key.what <= 0)
            continue;
        const auto found = rates_.constFind(key);
        if (found == rates_.constEnd())
            continue;
        const qint64 packed = ordered(*found).front();
        return Rate{int(packed / 10000), packed % 10000};
    }
    return std::nullopt;
}
