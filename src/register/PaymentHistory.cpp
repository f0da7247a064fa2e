#include "PaymentHistory.h"

#include <algorithm>
#include <array>
#include <map>

namespace
{

using CpamRules::atRate;

// The rate a kind of act is usually paid at, when the history says nothing.
int usualRate(CareAct act)
{
    switch (act) {
    case CareAct::Paramedical:
        return 60;
    case CareAct::Medicine:
    case CareAct::Transport:
        return 65;
    case CareAct::Consultation:
    case CareAct::Unwithheld:
        break;
    }
    return 70;
}

// Whether `withheld` is what the law withholds from one entry of that act and date: nothing,
// one consultation's or act's unit, or any number of boxes. Several acts on one entry are
// possible but rare: reading them in would explain wrong bases as well.
bool lawful(qint64 withheld, CareAct act, const QDate &care)
{
    const qint64 unit = CpamRules::unit(act, care);
    if (withheld == 0)
        return true;
    if (unit <= 0 || withheld < 0 || withheld % unit != 0)
        return false;
    return act == CareAct::Medicine ? withheld <= CpamRules::YearlyCap : withheld == unit;
}

constexpr qint64 usualBoxPrice = 800;
constexpr int mostBoxes = 10;
constexpr int medicineOptions = 7;

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

int PaymentHistory::id(const QString &text) const
{
    return text.isEmpty() ? 0 : names_.value(text.simplified().toUpper(), -1);
}

int PaymentHistory::intern(const QString &text)
{
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

std::vector<qint64> PaymentHistory::at(Kind kind, int who, int what, qint64 cost) const
{
    if (what < 0 || who < 0)
        return {};
    const auto found = tallies_.constFind(Key{kind, who, what, cost});
    return found == tallies_.constEnd() ? std::vector<qint64>{} : ordered(*found);
}

PaymentHistory::PaymentHistory(const std::vector<CareFacts> &entries)
{
    // First the bases of the doctors whose bases are not typed: every base that explains a
    // written share is a vote, and the true one gets the votes of every entry (children and
    // adults, before and after a change of the withholding).
    for (const CareFacts &e : entries) {
        const int doctor = intern(e.doctor), speciality = intern(e.speciality);
        intern(e.beneficiary);
        if (!e.cpamPaid || e.cpam <= 0 || e.base > 0 || e.cost <= 0)
            continue;
        const CareAct act = CareActs::of(e.speciality);
        const qint64 unit = CpamRules::unit(act, e.date);
        // The cost as the base explains most shares; the act's usual rate comes next.
        std::map<qint64, int> bases;
        for (int rate : CpamRules::usualRates()) {
            if (lawful(atRate(e.cost, rate) - e.cpam, act, e.date))
                bases[e.cost] = 3;
            if (act == CareAct::Medicine)
                continue;
            for (qint64 withheld : {qint64(0), unit}) {
                const qint64 full = e.cpam + withheld;
                const qint64 guess = full * 100 / rate;
                for (qint64 base = guess - 1; base <= guess + 1; ++base) {
                    if (base > 0 && base <= e.cost && atRate(base, rate) == full) {
                        int &weight = bases[base];
                        weight = std::max(weight, rate == usualRate(act) ? 2 : 1);
                    }
                }
            }
        }
        for (const auto &[base, weight] : bases) {
            for (int k = 0; k < weight; ++k) {
                if (doctor)
                    add(tallies_[Key{BaseOfDoctor, 0, doctor, e.cost}], base, e.cpamDate);
                if (speciality)
                    add(tallies_[Key{BaseOfSpeciality, 0, speciality, e.cost}], base, e.cpamDate);
            }
        }
    }
    std::array<std::vector<int>, 2> delays;
    for (const CareFacts &e : entries) {
        const int who = id(e.beneficiary), doctor = id(e.doctor);
        const int speciality = id(e.speciality);
        // Explained once: the base votes above are in, and the law's reading is not cheap.
        const std::optional<Explained> x = explain(e);
        if (e.cpamPaid && e.cpam > 0)
            learnCpam(e, x, who, doctor, speciality);
        if (e.mutuellePaid && e.mutual > 0)
            learnMutuelle(e, x, speciality);
        const auto paid = [&](AwaitedPayer payer, qint64 amount) {
            if (amount > 0 && doctor > 0)
                for (int w : {who, 0})
                    add(tallies_[Key{PaidByDoctor, w * 2 + int(payer), doctor, e.cost}], amount,
                        e.date);
        };
        if (e.cpamPaid)
            paid(AwaitedPayer::Cpam, e.cpam);
        if (e.mutuellePaid)
            paid(AwaitedPayer::Mutuelle, e.mutual);
        if (e.cpamPaid && e.date.isValid())
            delays[0].push_back(int(e.date.daysTo(e.cpamDate)));
        if (e.mutuellePaid && e.cpamPaid && e.mutual > 0)
            delays[1].push_back(int(e.cpamDate.daysTo(e.mutuelleDate)));
    }
    for (size_t p = 0; p < 2; ++p) {
        std::vector<int> &d = delays[p];
        if (d.size() < 5)
            continue;
        const auto rank = [&d](size_t k) {
            std::nth_element(d.begin(), d.begin() + qsizetype(k), d.end());
            return d[k];
        };
        delay_[p] = {std::max(0, rank(d.size() / 20)), rank(d.size() - 1 - d.size() / 20)};
    }
}

std::optional<PaymentHistory::Explained> PaymentHistory::explain(const CareFacts &e) const
{
    if (!e.cpamPaid || e.cpam <= 0)
        return std::nullopt;
    const CareAct act = CareActs::of(e.speciality);
    qint64 base = e.base;
    if (base <= 0) {
        const std::vector<qint64> seen = at(BaseOfDoctor, 0, id(e.doctor), e.cost);
        base = seen.empty() ? e.cost : seen.front();
    }
    if (base <= 0)
        return std::nullopt;
    // The act's usual rate when it explains the share, else the one withholding least.
    std::optional<Explained> best;
    for (int rate : CpamRules::usualRates()) {
        const qint64 withheld = atRate(base, rate) - e.cpam;
        if (!lawful(withheld, act, e.date))
            continue;
        if (rate == usualRate(act))
            return Explained{rate, base, withheld};
        if (!best || withheld < best->withheld)
            best = Explained{rate, base, withheld};
    }
    return best;
}

void PaymentHistory::learnCpam(const CareFacts &e, const std::optional<Explained> &x, int who,
                               int doctor, int speciality)
{
    if (doctor > 0)
        add(tallies_[Key{ExplainedOfDoctor, 0, doctor, 0}], x ? 1 : 0, e.cpamDate);
    if (!x)
        return;
    for (int w : {who, 0}) {
        if (doctor > 0)
            add(tallies_[Key{RateOfDoctor, w, doctor, 0}], x->rate, e.cpamDate);
        if (speciality > 0)
            add(tallies_[Key{RateOfSpeciality, w, speciality, 0}], x->rate, e.cpamDate);
    }
    if (x->rate == 100 && who > 0)
        add(tallies_[Key{LongIllness, who, 0, 0}], 100, e.cpamDate);
    const CareAct act = CareActs::of(e.speciality);
    const qint64 unit = CpamRules::unit(act, e.date);
    if (unit <= 0)
        return;
    auto &[withheld, none] = withholdings_[who];
    ++(x->withheld > 0 ? withheld : none);
    withheldInYear_[Key{int(CpamRules::withholdingOf(act)), who, e.date.year(), 0}] += x->withheld;
    if (x->withheld <= 0)
        return;
    const qint64 units = x->withheld / unit;
    if (act == CareAct::Medicine)
        add(tallies_[Key{BoxPrice, 0, 0, 0}], (e.cost / units + 25) / 50 * 50, e.cpamDate);
    else if (doctor > 0)
        add(tallies_[Key{UnitsOfDoctor, 0, doctor, 0}], units, e.cpamDate);
}

void PaymentHistory::learnMutuelle(const CareFacts &e, const std::optional<Explained> &x,
                                   int speciality)
{
    if (!e.cpamPaid || e.partial)
        return;
    const qint64 full = fullOf(e, x);
    const qint64 base = x ? x->base : e.base > 0 ? e.base : e.cost;
    const qint64 total = full + e.mutual;
    int contract = -1;
    if (total == e.cost && e.cost > base) {
        contract = 0; // the whole cost, fees above the base included
    } else if (total < e.cost && base > 0) {
        const int percent = int((total * 100 + base / 2) / base);
        if (percent >= 100 && atRate(base, percent) == total)
            contract = percent;
    }
    if (contract < 0)
        return;
    if (speciality > 0)
        add(tallies_[Key{ContractOfSpeciality, 0, speciality, 0}], contract, e.mutuelleDate);
    add(tallies_[Key{ContractOfFamily, 0, 0, 0}], contract, e.mutuelleDate);
}

std::vector<PaymentHistory::Tariff> PaymentHistory::tariffs(const CareFacts &e) const
{
    const int who = id(e.beneficiary), doctor = id(e.doctor), speciality = id(e.speciality);
    Tariff first;
    first.base = e.base;
    bool baseLearned = e.base > 0;
    if (first.base <= 0) {
        std::vector<qint64> seen = at(BaseOfDoctor, 0, doctor, e.cost);
        if (seen.empty())
            seen = at(BaseOfSpeciality, 0, speciality, e.cost);
        baseLearned = !seen.empty();
        first.base = seen.empty() ? e.cost : seen.front();
    }
    std::vector<qint64> rates;
    for (const auto &[kind, w, what] :
         {std::tuple{RateOfDoctor, who, doctor}, std::tuple{RateOfDoctor, 0, doctor},
          std::tuple{RateOfSpeciality, who, speciality},
          std::tuple{RateOfSpeciality, 0, speciality}}) {
        if (w < 0 || what <= 0)
            continue;
        const std::vector<qint64> seen = at(kind, w, what);
        if (!seen.empty()) {
            rates.push_back(seen.front());
            if (rates.size() == 2)
                break;
        }
    }
    // A doctor some of whose shares the law does not explain (a mistyped amount, several
    // rates on one bill) may be paid in ways the candidates miss: nothing of it is firm.
    bool explained = true;
    if (const auto seen = tallies_.constFind(Key{ExplainedOfDoctor, 0, doctor, 0});
        doctor > 0 && seen != tallies_.constEnd()) {
        int yes = 0, no = 0;
        for (const Seen &s : *seen)
            (s.value ? yes : no) += s.count;
        explained = no * 10 <= yes;
    }
    const bool rateLearned = !rates.empty() && explained;
    if (rates.empty())
        rates.push_back(usualRate(CareActs::of(e.speciality)));
    // Someone paid at 100 % for a long illness may be paid so for a new doctor too.
    if (who > 0 && !at(LongIllness, who, 0).empty())
        rates.push_back(100);
    std::vector<Tariff> out;
    for (size_t i = 0; i < rates.size(); ++i) {
        const Tariff t{int(rates[i]), first.base, baseLearned && rateLearned && i == 0};
        if (std::find_if(out.begin(), out.end(),
                         [&](const Tariff &o) { return o.rate == t.rate; }) == out.end())
            out.push_back(t);
    }
    return out;
}

PaymentHistory::Exemption PaymentHistory::exemption(const QString &person) const
{
    const auto found = withholdings_.constFind(id(person));
    if (found == withholdings_.constEnd())
        return Exemption::Unknown;
    if (found->first > 0)
        return Exemption::Withheld;
    return found->second >= 2 ? Exemption::Exempt : Exemption::Unknown;
}

qint64 PaymentHistory::withheldIn(const QString &person, int year,
                                  CpamRules::Withholding kind) const
{
    return withheldInYear_.value(Key{int(kind), id(person), year, 0});
}

std::vector<int> PaymentHistory::units(const CareFacts &e) const
{
    const CareAct act = CareActs::of(e.speciality);
    switch (act) {
    case CareAct::Unwithheld:
        return {0};
    case CareAct::Transport:
        return {1, 2};
    case CareAct::Medicine: {
        const std::vector<qint64> prices = at(BoxPrice, 0, 0);
        const qint64 price = prices.empty() ? usualBoxPrice : prices.front();
        const int most = int(std::clamp<qint64>(e.cost / 150, 1, mostBoxes));
        const int likely = int(std::clamp<qint64>((e.cost + price / 2) / price, 1, most));
        std::vector<int> boxes{likely};
        for (int step = 1; int(boxes.size()) < medicineOptions && step < most; ++step) {
            if (likely - step >= 1)
                boxes.push_back(likely - step);
            if (likely + step <= most)
                boxes.push_back(likely + step);
        }
        return boxes;
    }
    case CareAct::Consultation:
    case CareAct::Paramedical:
        break;
    }
    std::vector<int> units;
    for (qint64 u : at(UnitsOfDoctor, 0, id(e.doctor))) {
        units.push_back(int(u));
        break;
    }
    if (std::find(units.begin(), units.end(), 1) == units.end())
        units.push_back(1);
    return units;
}

qint64 PaymentHistory::writtenFull(const CareFacts &e) const
{
    return fullOf(e, explain(e));
}

qint64 PaymentHistory::fullOf(const CareFacts &e, const std::optional<Explained> &x)
{
    if (x)
        return atRate(x->base, x->rate);
    // Within what the entry showed unpaid before the mutuelle paid.
    return e.cpam + CpamRules::withheldIn({e.date, CareActs::of(e.speciality), e.base, e.cost,
                                           e.cpam, e.unpaid() + e.mutual});
}

std::vector<int> PaymentHistory::contracts(const CareFacts &e) const
{
    std::vector<int> out;
    const auto take = [&out](const std::vector<qint64> &seen) {
        for (qint64 c : seen) {
            if (std::find(out.begin(), out.end(), int(c)) == out.end())
                out.push_back(int(c));
            if (out.size() >= 2)
                return;
        }
    };
    take(at(ContractOfSpeciality, 0, id(e.speciality)));
    take(at(ContractOfFamily, 0, 0));
    return out;
}

std::vector<qint64> PaymentHistory::sameDoctor(AwaitedPayer payer, const CareFacts &entry) const
{
    const int doctor = id(entry.doctor), who = id(entry.beneficiary);
    if (doctor <= 0)
        return {};
    for (int w : {who, 0}) {
        if (w < 0)
            continue;
        std::vector<qint64> seen = at(PaidByDoctor, w * 2 + int(payer), doctor, entry.cost);
        if (!seen.empty())
            return seen;
    }
    return {};
}

PaymentHistory::Delay PaymentHistory::delay(AwaitedPayer payer) const
{
    return delay_[payer == AwaitedPayer::Cpam ? 0 : 1];
}
