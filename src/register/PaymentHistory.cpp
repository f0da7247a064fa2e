#include "PaymentHistory.h"

#include <algorithm>

namespace
{

QString name(const QString &text)
{
    return text.simplified().toUpper();
}

QString amountKey(AwaitedPayer payer, const QString &who, const QString &kind, const QString &what,
                  qint64 cost)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(int(payer)).arg(who, kind, what).arg(cost);
}

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

PaymentHistory::PaymentHistory(const std::vector<CareFacts> &entries)
{
    for (const CareFacts &e : entries) {
        const QString doctor = name(e.doctor), speciality = name(e.speciality);
        const QString beneficiary = name(e.beneficiary);
        const auto record = [&](AwaitedPayer payer, qint64 paid, const QDate &date) {
            if (paid <= 0 || !date.isValid())
                return;
            if (!doctor.isEmpty()) {
                add(amounts_[amountKey(payer, beneficiary, QStringLiteral("M"), doctor, e.cost)],
                    paid, date);
                add(amounts_[amountKey(payer, QString(), QStringLiteral("M"), doctor, e.cost)],
                    paid, date);
            }
            if (!speciality.isEmpty())
                add(amounts_[amountKey(payer, QString(), QStringLiteral("S"), speciality, e.cost)],
                    paid, date);
        };
        record(AwaitedPayer::Cpam, e.cpam, e.cpamDate);
        record(AwaitedPayer::Mutuelle, e.mutual, e.mutuelleDate);
        if (!e.cpamDate.isValid())
            continue;
        if (const auto rate = rateOf(e.base, e.cpam)) {
            const qint64 packed = rate->percent * 10000 + rate->withheld;
            if (!doctor.isEmpty())
                add(rates_[QStringLiteral("M|") + doctor], packed, e.cpamDate);
            if (!speciality.isEmpty())
                add(rates_[QStringLiteral("S|") + speciality], packed, e.cpamDate);
        }
    }
}

std::vector<qint64> PaymentHistory::sameDoctor(AwaitedPayer payer, const CareFacts &entry) const
{
    const QString doctor = name(entry.doctor);
    if (doctor.isEmpty())
        return {};
    for (const QString &who : {name(entry.beneficiary), QString()}) {
        const auto found = amounts_.constFind(
            amountKey(payer, who, QStringLiteral("M"), doctor, entry.cost));
        if (found != amounts_.constEnd())
            return ordered(*found);
    }
    return {};
}

std::vector<qint64> PaymentHistory::sameSpeciality(AwaitedPayer payer,
                                                   const CareFacts &entry) const
{
    const QString speciality = name(entry.speciality);
    if (speciality.isEmpty())
        return {};
    const auto found = amounts_.constFind(
        amountKey(payer, QString(), QStringLiteral("S"), speciality, entry.cost));
    return found != amounts_.constEnd() ? ordered(*found) : std::vector<qint64>{};
}

std::optional<PaymentHistory::Rate> PaymentHistory::cpamRate(const CareFacts &entry) const
{
    for (const QString &key : {QStringLiteral("M|") + name(entry.doctor),
                               QStringLiteral("S|") + name(entry.speciality)}) {
        const auto found = rates_.constFind(key);
        if (found == rates_.constEnd() || key.size() == 2)
            continue;
        const qint64 packed = ordered(*found).front();
        return Rate{int(packed / 10000), packed % 10000};
    }
    return std::nullopt;
}
