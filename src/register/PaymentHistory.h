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

    // Days from the care to the payer's payment in most past cases (the shortest and longest
    // twentieth left out); a care paid within them is the likeliest to be paid.
    struct Delay {
        int from = 0, to = 60;
    };
    Delay delay(AwaitedPayer payer) const;
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

    struct Key {
        int payer = 0, who = 0, kind = 0, what = 0;
        qint64 cost = 0;
        bool operator==(const Key &) const = default;
        friend size_t qHash(const Key &k, size_t seed = 0)
        {
            return qHashMulti(seed, k.payer, k.who, k.kind, k.what, k.cost);
        }
    };
    enum Kind { Doctor = 1, Speciality = 2 };
    // Names as numbers (0 for none), compared in capitals with blanks simplified.
    int id(const QString &text) const;
    int intern(const QString &text);

    QHash<QString, int> names_;
    QHash<Key, Tally> amounts_; // payer, [beneficiary,] doctor or speciality, cost
    QHash<Key, Tally> rates_;   // doctor or speciality -> percent * 10000 + withheld
    Delay delays_[2];
};
