#include "ImportSession.h"

#include "register/ShareSplit.h"

#include <QLocale>

ImportSession::ImportSession(MatchResult result) : result_(std::move(result))
{
    choices_.resize(result_.payments.size());
    for (size_t i = 0; i < result_.payments.size(); ++i) {
        // The best proposal is preselected; its confidence is shown beside it.
        const PaymentProposal &p = result_.payments[i];
        if (!p.alreadyApplied && p.matched())
            choose(i, 0);
    }
}

void ImportSession::choose(size_t i, int combination)
{
    const PaymentProposal &p = result_.payments.at(i);
    Choice &c = choices_.at(i);
    if (p.alreadyApplied || combination < 0 || size_t(combination) >= p.combinations.size()) {
        c = Choice{};
        return;
    }
    c.combination = combination;
    c.shares.clear();
    for (const ProposedShare &s : p.combinations[size_t(combination)].shares)
        c.shares.push_back(s.share);
}

const std::vector<ProposedShare> &ImportSession::entries(size_t i) const
{
    static const std::vector<ProposedShare> none;
    const Choice &c = choices_.at(i);
    if (c.combination == None)
        return none;
    return result_.payments.at(i).combinations.at(size_t(c.combination)).shares;
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
                    .arg(line.date.toString(QStringLiteral("dd/MM/yyyy")), money(line.cents));
            sum += s;
        }
        if (sum != line.cents)
            return QStringLiteral("Les parts du paiement du %1 font %2 au lieu de %3 : elles "
                                  "doivent faire le montant du paiement.")
                .arg(line.date.toString(QStringLiteral("dd/MM/yyyy")), money(sum),
                     money(line.cents));
    }
    if (!any)
        return QStringLiteral("Aucun paiement n'est à enregistrer.");
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
