#include "ImportSession.h"

#include "platform/core/Formats.h"
#include "register/PaymentMatcher.h"
#include "register/ShareSplit.h"

#include <QLocale>
#include <QSet>

namespace
{

QList<qint64> rowsOf(const std::vector<ProposedShare> &shares)
{
    QList<qint64> rows;
    for (const ProposedShare &s : shares)
        rows.append(s.entry.row.rowId);
    return rows;
}

} // namespace

ImportSession::ImportSession(MatchResult result, std::shared_ptr<const PaymentMatcher> matcher)
    : result_(std::move(result)), matcher_(std::move(matcher))
{
    choices_.resize(result_.payments.size());
    picked_.resize(result_.payments.size());
    for (size_t i = 0; i < result_.payments.size(); ++i) {
        const PaymentProposal &p = result_.payments[i];
        if (p.alreadyApplied)
            continue;
        for (const ProposedCombination &c : p.combinations)
            for (qint64 row : rowsOf(c.shares))
                offered_[slot(i)].insert(row, i);
        // Only a sure proposal is kept unasked; the others wait for the person's choice.
        if (p.preselected())
            keep(i, 0, false);
    }
}

size_t ImportSession::slot(size_t i) const
{
    return result_.payments.at(i).payer == AwaitedPayer::Cpam ? 0 : 1;
}

void ImportSession::keep(size_t i, int combination, bool byPerson)
{
    const PaymentProposal &p = result_.payments.at(i);
    Choice &c = choices_.at(i);
    for (qint64 row : rowsOf(entries(i)))
        held_[slot(i)].remove(row, i);
    const std::optional<ProposedCombination> &hand = picked_.at(i);
    const bool byHand = combination == ByHand && hand;
    c = Choice{};
    c.byPerson = byPerson;
    if (p.alreadyApplied ||
        (!byHand && (combination < 0 || size_t(combination) >= p.combinations.size())))
        return;
    c.combination = combination;
    for (const ProposedShare &s :
         byHand ? hand->shares : p.combinations[size_t(combination)].shares) {
        c.shares.push_back(s.share);
        held_[slot(i)].insert(s.entry.row.rowId, i);
    }
}

void ImportSession::choose(size_t i, int combination)
{
    QList<qint64> touched = rowsOf(entries(i));
    keep(i, combination, true);
    touched += rowsOf(entries(i));
    settle(touched, slot(i));
}

bool ImportSession::heldElsewhere(size_t i, const std::vector<ProposedShare> &shares) const
{
    const RowIndex &held = held_[slot(i)];
    for (const ProposedShare &s : shares) {
        for (auto it = held.constFind(s.entry.row.rowId);
             it != held.cend() && it.key() == s.entry.row.rowId; ++it) {
            if (*it != i)
                return true;
        }
    }
    return false;
}

// The payments the program chose for, around entries whose keeper changed: one that shares
// an entry with another lets its choice go, one left with a single exact fit takes it. What
// the person chose is never changed.
void ImportSession::settle(QList<qint64> rows, size_t payer)
{
    // Ends: only the person's own entries can make a payment let go; the program keeps a fit
    // only when no other payment holds its entries, so each step settles one payment.
    while (!rows.isEmpty()) {
        const qint64 row = rows.takeLast();
        for (size_t j : offered_[payer].values(row)) {
            const Choice &c = choices_[j];
            if (c.byPerson || result_.payments[j].alreadyApplied)
                continue;
            if (c.combination != None && heldElsewhere(j, entries(j))) {
                rows += rowsOf(entries(j));
                keep(j, None, false);
            }
            if (c.combination != None)
                continue;
            const std::vector<int> fits = open(j);
            if (fits.size() == 1 &&
                result_.payments[j].combinations[size_t(fits.front())].confidence !=
                    Confidence::ToCheck) {
                keep(j, fits.front(), false);
                rows += rowsOf(entries(j));
            }
        }
    }
}

std::vector<int> ImportSession::open(size_t i) const
{
    std::vector<int> out;
    const PaymentProposal &p = result_.payments.at(i);
    for (size_t c = 0; c < p.combinations.size(); ++c) {
        if (int(c) == chosen(i) || !heldElsewhere(i, p.combinations[c].shares))
            out.push_back(int(c));
    }
    return out;
}

QString ImportSession::state(size_t i) const
{
    const PaymentProposal &p = result_.payments.at(i);
    const Choice &c = choices_.at(i);
    if (p.alreadyApplied)
        return QStringLiteral("déjà enregistré le %1")
            .arg(Formats::fullDate(p.appliedAt.toLocalTime().date()));
    if (c.combination == ByHand)
        return QStringLiteral("choisi à la main");
    if (!p.matched())
        return QStringLiteral("aucun soin attendu ne correspond : laissé de côté");
    if (c.combination >= 0) {
        const Confidence confidence = p.combinations[size_t(c.combination)].confidence;
        if (c.byPerson)
            return QStringLiteral("choisi");
        if (confidence == Confidence::Sure)
            return ProposedCombination::confidenceText(confidence);
        return QStringLiteral("seul possible une fois les autres choisis");
    }
    if (c.byPerson)
        return QStringLiteral("non enregistré");
    const std::vector<int> fits = open(i);
    if (fits.empty())
        return QStringLiteral("ses soins sont gardés par un autre paiement : laissé de côté");
    const Confidence first = p.combinations[size_t(fits.front())].confidence;
    if (first == Confidence::ToCheck)
        return QStringLiteral("à vérifier : non enregistré");
    if (fits.size() == 1)
        return QStringLiteral("à choisir : touche 1");
    return QStringLiteral("à choisir : touche 1 à %1").arg(std::min<size_t>(fits.size(), 9));
}

const std::vector<ProposedShare> &ImportSession::entries(size_t i) const
{
    static const std::vector<ProposedShare> none;
    const Choice &c = choices_.at(i);
    if (c.combination == None)
        return none;
    if (c.combination == ByHand)
        return picked_.at(i)->shares;
    return result_.payments.at(i).combinations.at(size_t(c.combination)).shares;
}

bool ImportSession::canPick(size_t i) const
{
    return matcher_ && !result_.payments.at(i).alreadyApplied;
}

std::vector<PickableShare> ImportSession::pickable(size_t i) const
{
    if (!canPick(i))
        return {};
    std::vector<PickableShare> out;
    const RowIndex &held = held_[slot(i)];
    for (ProposedShare &s : matcher_->pickable(result_.payments.at(i))) {
        PickableShare p{std::move(s), std::nullopt};
        for (size_t j : held.values(p.share.entry.row.rowId)) {
            if (j != i)
                p.heldBy = j;
        }
        out.push_back(std::move(p));
    }
    return out;
}

void ImportSession::pickByHand(size_t i, const QList<qint64> &rows)
{
    if (!canPick(i) || rows.isEmpty())
        return;
    ProposedCombination c = matcher_->byHand(result_.payments.at(i), rows);
    if (c.shares.empty())
        return;
    QList<qint64> touched = rowsOf(entries(i));
    picked_.at(i) = std::move(c);
    keep(i, ByHand, true);
    touched += rowsOf(entries(i));
    settle(touched, slot(i));
}

void ImportSession::setShare(size_t i, size_t k, qint64 cents)
{
    Choice &c = choices_.at(i);
    if (k >= c.shares.size())
        return;
    c.shares[k] = cents;
    c.shares = ShareSplit::rebalance(result_.payments.at(i).line.cents, c.shares, k);
}

QString ImportSession::problem() const
{
    bool any = false;
    for (size_t i = 0; i < choices_.size(); ++i) {
        const Choice &c = choices_[i];
        if (c.combination == None)
            continue;
        any = true;
        const StatementLine &line = result_.payments[i].line;
        qint64 sum = 0;
        for (qint64 s : c.shares) {
            if (s <= 0)
                return QStringLiteral("Le paiement du %1 (%2) a une part nulle ou négative : "
                                      "corrigez-la avant de confirmer.")
                    .arg(Formats::fullDate(line.date), money(line.cents));
            sum += s;
        }
        if (sum != line.cents)
            return QStringLiteral("Les parts du paiement du %1 font %2 au lieu de %3 : elles "
                                  "doivent faire le montant du paiement.")
                .arg(Formats::fullDate(line.date), money(sum), money(line.cents));
    }
    if (!any)
        return QStringLiteral("Aucun paiement n'est à enregistrer.");
    return twicePaid();
}

// An entry kept by two payments of the same payer would be written twice; the apply would
// refuse it, so the window says it before.
QString ImportSession::twicePaid() const
{
    QSet<qint64> seen[2];
    for (size_t i = 0; i < choices_.size(); ++i) {
        const PaymentProposal &p = result_.payments[i];
        QSet<qint64> &rows = seen[p.payer == AwaitedPayer::Cpam ? 0 : 1];
        for (const ProposedShare &s : entries(i)) {
            if (rows.contains(s.entry.row.rowId))
                return QStringLiteral("Le soin de %1 du %2 est gardé dans deux paiements (%3) : "
                                      "ne le gardez que dans un.")
                    .arg(s.entry.beneficiary, Formats::fullDate(s.entry.date),
                         AwaitedPayers::text(p.payer));
            rows.insert(s.entry.row.rowId);
        }
    }
    return {};
}

std::vector<ConfirmedPayment> ImportSession::confirmed() const
{
    std::vector<ConfirmedPayment> out;
    for (size_t i = 0; i < choices_.size(); ++i) {
        const Choice &c = choices_[i];
        if (c.combination == None)
            continue;
        const PaymentProposal &p = result_.payments[i];
        ConfirmedPayment cp;
        cp.line = p.line;
        cp.key = p.key;
        cp.payer = p.payer;
        const std::vector<ProposedShare> &e = entries(i);
        for (size_t k = 0; k < e.size(); ++k)
            cp.shares.push_back({e[k].entry.row.rowId, c.shares[k]});
        out.push_back(std::move(cp));
    }
    return out;
}

qint64 ImportSession::writtenTotal() const
{
    qint64 total = 0;
    for (const Choice &c : choices_)
        for (qint64 s : c.shares)
            total += s;
    return total;
}

int ImportSession::writtenEntries() const
{
    int n = 0;
    for (const Choice &c : choices_)
        n += int(c.shares.size());
    return n;
}

QString ImportSession::money(qint64 cents)
{
    return QLocale(QLocale::French).toString(double(cents) / 100.0, 'f', 2) + QStringLiteral(" €");
}
