#pragma once

#include "AwaitedPayer.h"
#include "CareFacts.h"

#include <QHash>

#include <optional>
#include <vector>

// What each payer paid before, read from the register's entries whose payment date is filled
// in: the amounts paid for a doctor (or a speciality) and a cost, and the national insurance's
// rate and withholding seen for a doctor or a speciality. Families see the same doctors again
// and again, so this is the strongest clue to what comes next.
class PaymentHistory
{
public:
    explicit PaymentHistory(const std::vector<CareFacts> &entries);

    // Amounts paid by `payer` for this cost at this doctor, most often paid first (the latest
    // first among equals): for this beneficiary when known, else for anyone.
    std::vector<qint64> sameDoctor(AwaitedPayer payer, const CareFacts &entry) const;
    std::vector<qint64> sameSpeciality(AwaitedPayer payer, const CareFacts &entry) const;

    // The national insurance's rate (percent) and amount withheld per act, as it paid them
    // for the doctor, else for the speciality.
    struct Rate {
        int percent = 0;
        qint64 withheld = 0;
        bool operator==(const Rate &) const = default;
    };
    std::optional<Rate> cpamRate(const CareFacts &entry) const;
    // The rate and withholding that turn `base` into `paid`, if one of the usual ones does.
    static std::optional<Rate> rateOf(qint64 base, qint64 paid);

private:
    struct Seen {
        qint64 value = 0;
        int count = 0;
        QDate latest;
    };
    using Tally = std::vector<Seen>;
    static void add(Tally &tally, qint64 value, const QDate &date);
    static std::vector<qint64> ordered(const Tally &tally);

    QHash<QString, Tally> amounts_; // payer, [beneficiary,] doctor or speciality, cost
    QHash<QString, Tally> rates_;   // doctor or speciality -> percent * 10000 + withheld
};
