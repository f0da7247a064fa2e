#include "ImportSession.h"

#include "platform/core/Formats.h"
#include "register/PaymentMatcher.h"
#include "register/ShareSplit.h"

#include <QLocale>
#include <QSet>

ImportSession::ImportSession(MatchResult result, std::shared_ptr<const PaymentMatcher> matcher)
    : result_(std::move(result)), matcher_(std::move(matcher))
{
    choices_.resize(result_.payments.size());
    picked_.resize(result_.payments.size());
    for (size_t i = 0; i < result_.payments.size(); ++i) {
        // Only a sure proposal is kept unasked; the others wait for the person's choice.
        const PaymentProposal &p = result_.payments[i];
        if (!p.alreadyApplied && p.preselected())
            choose(i, 0);
    }
}

void ImportSession::choose(size_t i, int combination)
{
    const PaymentProposal &p = result_.payments.at(i);
    Choice &c = choices_.at(i);
    const std::optional<ProposedCombination> &hand = picked_.at(i);
    const bool byHand = combination == ByHand && hand;
    if (p.alreadyApplied ||
        (!byHand && (combination < 0 || size_t(combination) >= p.combinations.size()))) {
        c = Choice{};
        return;
    }
    c.combination = combination;
    c.shares.clear();
    for (const ProposedShare &s :
         byHand ? hand->shares : p.combinations[size_t(combination)].shares)
        c.shares.push_back(s.share);
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

std::vector<ProposedShare> ImportSession::pickable(size_t i) const
{
    if (!canPick(i))
        return {};
    const PaymentProposal &p = result_.payments.at(i);
    QSet<qint64> taken;
    for (size_t j = 0; j < choices_.size(); ++j) {
        if (j != i && result_.payments[j].payer == p.payer) {
            for (const ProposedShare &s : entries(j))
                taken.insert(s.entry.row.rowId);
        }
    }
    std::vector<ProposedShare> out;
    for (ProposedShare &s : matcher_->pickable(p)) {
        if (!taken.contains(s.entry.row.rowId))
            out.push_back(std::move(s));
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
    picked_.at(i) = std::move(c);
    choose(i, ByHand);
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
