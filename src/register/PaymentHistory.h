#pragma once

#include "AwaitedPayer.h"
#include "CareFacts.h"

#include "tables/CpamRules.h"

#include <QHash>

#include <optional>
#include <vector>

// What the family's register teaches about its payers, read from the entries already paid:
// the C.P.A.M.'s rate and base per doctor, speciality and person (a long illness paid at
// 100 %), who has nothing withheld (children), what each person had withheld in each year, how
// many boxes a pharmacy bill usually holds, what share of the base the mutuelle's contract
// pays, and each payer's usual delay.
class PaymentHistory
{
public:
    explicit PaymentHistory(const std::vector<CareFacts> &entries);

    // A rate and base the C.P.A.M. may apply to an entry; `learned` when the history says so.
    struct Tariff {
        int rate = 0;
        qint64 base = 0;
        bool learned = false;
        bool operator==(const Tariff &) const = default;
    };
    // Likeliest first: the typed base wins; the rate and base seen for the person and doctor,
    // the doctor, the person and speciality, the speciality; else the usual rate of the act.
    std::vector<Tariff> tariffs(const CareFacts &entry) const;

    enum class Exemption { Withheld, Exempt, Unknown };
    // Exempt when the person's shares never showed a withholding where the law asked one.
    Exemption exemption(const QString &person) const;
    // What the C.P.A.M. withheld from the person's written shares in that year.
    qint64 withheldIn(const QString &person, int year, CpamRules::Withholding kind) const;
    // The units the entry's care may have withheld, likeliest first (boxes told from the cost).
    std::vector<int> units(const CareFacts &entry) const;

    // What the C.P.A.M. paid before its withholding, for an entry whose share is written.
    qint64 writtenFull(const CareFacts &entry) const;
    // The mutuelle's contract: the share of the base (percent) it pays up to, beyond the
    // C.P.A.M.'s full share; 0 for the whole cost. Likeliest first, learned for the speciality,
    // then the family's; none before the mutuelle has paid anything the law explains.
    std::vector<int> contracts(const CareFacts &entry) const;
    // Amounts paid by `payer` for this cost at this doctor, most often paid first: for this
    // beneficiary when known, else for anyone.
    std::vector<qint64> sameDoctor(AwaitedPayer payer, const CareFacts &entry) const;

    // Days from the care to the C.P.A.M.'s payment, or from the C.P.A.M.'s payment to the
    // mutuelle's, in most past cases (the shortest and longest twentieth left out).
    struct Delay {
        int from = 0, to = 60;
    };
    Delay delay(AwaitedPayer payer) const;

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
        int kind = 0, who = 0, what = 0;
        qint64 cost = 0;
        bool operator==(const Key &) const = default;
        friend size_t qHash(const Key &k, size_t seed = 0)
        {
            return qHashMulti(seed, k.kind, k.who, k.what, k.cost);
        }
    };
    enum Kind {
        RateOfDoctor = 1,
        RateOfSpeciality,
        BaseOfDoctor,
        BaseOfSpeciality,
        UnitsOfDoctor,
        ContractOfSpeciality,
        ContractOfFamily,
        PaidByDoctor,
        BoxPrice,
        LongIllness,
        ExplainedOfDoctor, // value 1 when the law explained a written share, 0 when not
    };
    // A written C.P.A.M. share explained by the law: its rate, base and withholding.
    struct Explained {
        int rate = 0;
        qint64 base = 0, withheld = 0;
    };
    std::optional<Explained> explain(const CareFacts &e) const;
    // The share before withholding: explained, else the law's reading of the written share.
    static qint64 fullOf(const CareFacts &e, const std::optional<Explained> &x);
    void learnCpam(const CareFacts &e, const std::optional<Explained> &x, int who, int doctor,
                   int speciality);
    void learnMutuelle(const CareFacts &e, const std::optional<Explained> &x, int speciality);
    std::vector<qint64> at(Kind kind, int who, int what, qint64 cost = 0) const;
    int id(const QString &text) const;
    int intern(const QString &text);

    QHash<QString, int> names_;
    QHash<Key, Tally> tallies_;
    QHash<int, std::pair<int, int>> withholdings_; // person -> (withheld seen, none seen)
    QHash<Key, qint64> withheldInYear_;            // person, year, kind of withholding
    std::vector<int> delays_[2];
    Delay delay_[2];
};
