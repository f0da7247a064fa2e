#include "FamilyStatements.h"

#include "tables/CareAct.h"
#include "tables/CpamRules.h"

#include <QMap>
#include <QRandomGenerator>

#include <algorithm>

namespace
{

enum class Who { Anyone, Adult, Child, LongIllness };

// A practice a family sees: what it charges and its base for a care of that date.
struct Practice {
    const char *doctor, *speciality;
    Who who;
    int rate;         // percent of the base the C.P.A.M. pays (100 for the long illness)
    int perYear;      // cares a year for each person it sees
    int costKind;     // 0 cost = base, 1 a fee above the base, 2 medicine boxes, 3 tests
    qint64 fee, base; // the fee (and the base when costKind is 1)
};

qint64 generalistBase(const QDate &d)
{
    return d < QDate(2023, 12, 22) ? 2500 : d < QDate(2024, 12, 22) ? 2650 : 3000;
}

const Practice practices[] = {
    {"MARTIN", "Médecin généraliste", Who::Anyone, 70, 4, 0, 0, 0},
    {"PETIT", "Pédiatre", Who::Child, 70, 4, 1, 4000, 3000},
    {"BLANC", "Dermatologue", Who::Adult, 70, 1, 1, 7000, 3000},
    {"MOREAU", "Ophtalmologiste", Who::Anyone, 70, 1, 1, 5500, 3000},
    {"ROUX", "Kinésithérapeute", Who::Adult, 60, 6, 0, 1613, 0},
    {"LEROY", "Chirurgien-dentiste", Who::Anyone, 70, 1, 0, 2300, 0},
    {"BIOLAB", "Laboratoire", Who::Adult, 60, 1, 3, 0, 0},
    {"PHARMACIE DU CENTRE", "Pharmacie", Who::Anyone, 65, 5, 2, 0, 0},
    {"FAURE", "Cardiologue", Who::LongIllness, 100, 4, 1, 6000, 5100},
    {"PHARMACIE DU CENTRE", "Pharmacie", Who::LongIllness, 100, 12, 2, 0, 0},
    {"SIMON", "Infirmier", Who::LongIllness, 60, 6, 0, 945, 0},
};

struct Person {
    QString name;
    bool child = false, longIllness = false;
};

struct Profile {
    const char *name;
    quint32 seed;
    std::vector<Person> people;
    const char *mutuelle, *cpamLabel, *mutuelleLabel;
    int contract;       // the mutuelle pays up to this percent of the base
    bool typesBase;     // the family types the "Base" of each care
    int lagFrom, lagTo; // days from a care to the C.P.A.M.'s payment
};

std::vector<Profile> profiles()
{
    const auto p = [](const char *n, bool child = false, bool ald = false) {
        return Person{QString::fromUtf8(n), child, ald};
    };
    return {
        {"Durand",
         11,
         {p("PAUL"), p("JULIE"), p("LEO", true), p("EMMA", true)},
         "Harmonie Mutuelle",
         "VIR CPAM DE PARIS REMBOURSEMENT",
         "VIR HARMONIE MUTUELLE PRESTATIONS",
         150,
         true,
         3,
         8},
        {"Nguyen",
         22,
         {p("LINH"), p("MAI", true), p("BAO", true), p("AN", true)},
         "MGEN",
         "VIREMENT SEPA RECU /DE CPAM DU RHONE /MOTIF REMBT SOINS",
         "VIR MGEN REMB SANTE",
         100,
         false,
         2,
         6},
        {"Lefebvre",
         33,
         {p("MARC"), p("SOPHIE"), p("ROBERT", false, true)},
         "Malakoff Humanis",
         "VIR C.P.A.M. HAUTS DE SEINE",
         "VIR SEPA MALAKOFF HUMANIS SANTE REMBT",
         200,
         true,
         4,
         10},
        {"Bernard",
         44,
         {p("ALAIN"), p("NADINE")},
         "Mutuelle Generale",
         "VIR ASSURANCE MALADIE 13 PRESTATIONS",
         "VIR MUTUELLE GENERALE REMB",
         100,
         false,
         2,
         9},
        {"Garcia",
         55,
         {p("JOSE"), p("ANA"), p("LUCAS", true), p("INES", true), p("NOE", true)},
         "Mutuelle Generale",
         "VIR CPAM DE LA GIRONDE",
         "MUTUELLE GENERALE VIR SEPA",
         150,
         true,
         3,
         12},
    };
}

bool sees(const Practice &practice, const Person &person)
{
    switch (practice.who) {
    case Who::Anyone:
        return true;
    case Who::Adult:
        return !person.child;
    case Who::Child:
        return person.child;
    case Who::LongIllness:
        return person.longIllness;
    }
    return false;
}

struct Care {
    CareFacts entry;
    const Practice *practice = nullptr;
    qint64 cpam = 0, mutual = 0;
    QDate cpamDay, mutuelleDay;
    bool neverClaimed = false;
};

// Cares and what each payer pays for them, the law's withholdings counted in date order up to
// each person's yearly caps.
std::vector<Care> cares(const Profile &profile, const QDate &first, const QDate &end,
                        QRandomGenerator &rng)
{
    std::vector<Care> all;
    const qint64 days = first.daysTo(end);
    for (const Person &person : profile.people) {
        for (const Practice &practice : practices) {
            if (!sees(practice, person))
                continue;
            const int count = int(practice.perYear * days / 365);
            for (int k = 0; k < count; ++k) {
                Care c;
                c.practice = &practice;
                CareFacts &e = c.entry;
                e.date = first.addDays(qint64(rng.bounded(int(days) + 1)));
                e.beneficiary = person.name;
                e.doctor = QString::fromUtf8(practice.doctor);
                e.speciality = QString::fromUtf8(practice.speciality);
                switch (practice.costKind) {
                case 0:
                    e.base = practice.fee ? practice.fee : generalistBase(e.date);
                    e.cost = e.base;
                    break;
                case 1:
                    e.base = practice.base;
                    e.cost = practice.fee;
                    break;
                case 2: {
                    const int boxes = 1 + int(rng.bounded(5));
                    for (int b = 0; b < boxes; ++b)
                        e.cost += 150 + qint64(rng.bounded(2200));
                    e.base = e.cost;
                    e.estimate = boxes; // kept aside: the boxes, which the register never holds
                    break;
                }
                default:
                    e.cost = e.base = 1200 + qint64(rng.bounded(6000));
                }
                all.push_back(c);
                // Brothers and sisters often see the paediatrician the same day.
                if (person.child && practice.costKind == 1 && rng.bounded(3) == 0) {
                    for (const Person &other : profile.people) {
                        if (other.child && other.name != person.name) {
                            Care twin = c;
                            twin.entry.beneficiary = other.name;
                            all.push_back(twin);
                            break;
                        }
                    }
                }
            }
        }
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const Care &a, const Care &b) { return a.entry.date < b.entry.date; });
    // Each person's participations and franchises of the calendar year, up to the caps.
    QMap<QString, qint64> used;
    for (Care &c : all) {
        CareFacts &e = c.entry;
        const CareAct act = CareActs::of(e.speciality);
        const bool child =
            std::any_of(profile.people.begin(), profile.people.end(),
                        [&](const Person &p) { return p.child && p.name == e.beneficiary; });
        const qint64 units = act == CareAct::Medicine ? e.estimate : 1;
        e.estimate = 0;
        qint64 withheld = child ? 0 : CpamRules::unit(act, e.date) * units;
        const QString key = QStringLiteral("%1|%2|%3")
                                .arg(e.beneficiary)
                                .arg(e.date.year())
                                .arg(int(CpamRules::withholdingOf(act)));
        withheld = std::min(withheld, CpamRules::YearlyCap - used.value(key));
        const qint64 full = CpamRules::atRate(e.base, c.practice->rate);
        withheld = std::min(withheld, full);
        used[key] += withheld;
        c.cpam = full - withheld;
        c.mutual = std::max<qint64>(
            0, std::min(e.cost, CpamRules::atRate(e.base, profile.contract)) - full);
        c.cpamDay =
            e.date.addDays(profile.lagFrom + int(rng.bounded(profile.lagTo - profile.lagFrom + 1)));
        c.mutuelleDay = c.cpamDay.addDays(1 + int(rng.bounded(5)));
        c.neverClaimed = rng.bounded(60) == 0;
    }
    return all;
}

// The transfers of one payer: the cares it handled the same day, one to three to a transfer.
void transfers(std::vector<FamilyStatements::Payment> &out,
               const QMap<QDate, std::vector<std::pair<qint64, qint64>>> &byDay, AwaitedPayer payer,
               const QString &label, QRandomGenerator &rng)
{
    for (auto day = byDay.cbegin(); day != byDay.cend(); ++day) {
        std::vector<std::pair<qint64, qint64>> paid = *day;
        // The payer's order within a day is its own.
        for (size_t i = paid.size(); i > 1; --i)
            std::swap(paid[i - 1], paid[size_t(rng.bounded(int(i)))]);
        size_t at = 0;
        while (at < paid.size()) {
            const int roll = int(rng.bounded(10));
            const size_t size = std::min(paid.size() - at, size_t(roll < 5 ? 1 : roll < 8 ? 2 : 3));
            FamilyStatements::Payment p;
            p.payer = payer;
            p.line = StatementLine{day.key(), 0, label, QString(), 0};
            for (size_t k = at; k < at + size; ++k) {
                p.shares[paid[k].first] = paid[k].second;
                p.line.cents += paid[k].second;
            }
            out.push_back(p);
            at += size;
        }
    }
}

FamilyStatements::Family make(const Profile &profile, const QDate &end, int statementDays,
                              int round)
{
    QRandomGenerator rng(profile.seed + 1000u * quint32(round));
    FamilyStatements::Family family;
    family.name = QString::fromUtf8(profile.name);
    family.mutuelleName = QString::fromUtf8(profile.mutuelle);
    const QDate first = end.addYears(-5), statementFrom = end.addDays(-statementDays + 1);
    std::vector<Care> all = cares(profile, first, end, rng);
    QMap<QDate, std::vector<std::pair<qint64, qint64>>> cpamOn, mutuelleOn;
    for (size_t i = 0; i < all.size(); ++i) {
        Care &c = all[i];
        CareFacts &e = c.entry;
        e.row = Bookmark{qint64(i) + 1};
        if (!profile.typesBase)
            e.base = 0;
        if (c.neverClaimed)
            continue;
        if (c.cpam > 0) {
            if (c.cpamDay < statementFrom) {
                e.cpam = c.cpam;
                e.cpamDate = c.cpamDay;
                e.cpamPaid = true;
            } else if (c.cpamDay <= end) {
                cpamOn[c.cpamDay].push_back({e.row.rowId, c.cpam});
            }
        }
        if (c.mutual > 0) {
            if (c.mutuelleDay < statementFrom) {
                e.mutual = c.mutual;
                e.mutuelleDate = c.mutuelleDay;
                e.mutuellePaid = true;
            } else if (c.mutuelleDay <= end) {
                mutuelleOn[c.mutuelleDay].push_back({e.row.rowId, c.mutual});
            }
        }
    }
    for (Care &c : all)
        family.entries.push_back(c.entry);
    std::vector<FamilyStatements::Payment> payments;
    transfers(payments, cpamOn, AwaitedPayer::Cpam, QString::fromUtf8(profile.cpamLabel), rng);
    transfers(payments, mutuelleOn, AwaitedPayer::Mutuelle,
              QString::fromUtf8(profile.mutuelleLabel), rng);
    // Transfers for cares the family never typed in: they pay nothing the register awaits.
    for (int k = 0; k < 2; ++k) {
        FamilyStatements::Payment p;
        p.payer = AwaitedPayer::Cpam;
        p.line = StatementLine{statementFrom.addDays(qint64(rng.bounded(statementDays))),
                               500 + qint64(rng.bounded(4000)),
                               QString::fromUtf8(profile.cpamLabel), QString(), 0};
        payments.push_back(p);
    }
    std::stable_sort(payments.begin(), payments.end(),
                     [](const auto &a, const auto &b) { return a.line.date < b.line.date; });
    family.payments = payments;
    for (const FamilyStatements::Payment &p : payments)
        family.lines.push_back(p.line);
    // The rest of the account: salaries, allowances, card payments.
    for (int k = 0; k < statementDays / 3; ++k) {
        const QDate day = statementFrom.addDays(qint64(rng.bounded(statementDays)));
        family.lines.push_back(
            rng.bounded(4) == 0 ? StatementLine{day, 10000 + qint64(rng.bounded(200000)),
                                                QStringLiteral("VIR CAF ALLOCATIONS"), QString(), 0}
                                : StatementLine{day, -qint64(rng.bounded(20000)) - 1,
                                                QStringLiteral("CB CARREFOUR"), QString(), 0});
    }
    return family;
}

} // namespace

std::vector<FamilyStatements::Family> FamilyStatements::all(const QDate &statementEnd,
                                                            int statementDays, int round)
{
    std::vector<Family> families;
    for (const Profile &p : profiles()) {
        families.push_back(make(p, statementEnd, statementDays, round));
        if (round > 0)
            families.back().name += QStringLiteral(" %1").arg(round + 1);
    }
    return families;
}
