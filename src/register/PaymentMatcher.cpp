#include "PaymentMatcher.h"

#include "CombinationSearch.h"
#include "PayerRecognition.h"
#include "ShareSplit.h"
#include "StatementLedger.h"

#include <algorithm>

namespace
{

size_t slot(AwaitedPayer payer)
{
    return payer == AwaitedPayer::Cpam ? 0 : 1;
}

// The order in which payments choose their entries: surest fit first, then by date.
int strength(const PaymentProposal &p)
{
    if (!p.matched())
        return 4;
    const ProposedCombination &best = p.combinations.front();
    if (best.confidence == Confidence::Sure)
        return 0;
    return 1 + int(best.fit == FitKind::Alternative) + 2 * int(best.fit == FitKind::Range);
}

bool uses(const PaymentProposal &p, const QSet<qint64> &taken)
{
    for (const ProposedCombination &c : p.combinations) {
        for (const ProposedShare &s : c.shares) {
            if (taken.contains(s.entry.row.rowId))
                return true;
        }
    }
    return false;
}

} // namespace

PaymentMatcher::PaymentMatcher(std::vector<CareFacts> entries, MatchOptions options)
    : entries_(std::move(entries)), options_(options), history_(entries_), predictor_(history_)
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (!entries_[i].date.isValid())
            continue;
        for (AwaitedPayer payer : {AwaitedPayer::Cpam, AwaitedPayer::Mutuelle}) {
            if (auto p = predictor_.predict(entries_[i], payer))
                owed_[slot(payer)].push_back({i, std::move(*p)});
        }
    }
    for (auto &owed : owed_) {
        std::stable_sort(owed.begin(), owed.end(), [this](const Owed &a, const Owed &b) {
            return entries_[a.entry].date < entries_[b.entry].date;
        });
    }
}

const std::vector<PaymentMatcher::Owed> &PaymentMatcher::owedTo(AwaitedPayer payer) const
{
    return owed_[slot(payer)];
}

void PaymentMatcher::search(PaymentProposal &proposal, const QSet<qint64> &taken) const
{
    proposal.combinations.clear();
    const qint64 payment = proposal.line.cents;
    const QDate until = proposal.line.date, from = until.addDays(-options_.windowDays);
    const std::vector<Owed> &owed = owedTo(proposal.payer);
    const auto first =
        std::lower_bound(owed.begin(), owed.end(), from, [this](const Owed &o, const QDate &d) {
            return entries_[o.entry].date < d;
        });
    const PaymentHistory::Delay delay = history_.delay(proposal.payer);
    std::vector<const Owed *> kept;
    std::vector<CombinationSearch::Candidate> candidates;
    for (auto o = first; o != owed.end() && entries_[o->entry].date <= until; ++o) {
        if (o->prediction.low > payment + options_.toleranceCents ||
            taken.contains(entries_[o->entry].row.rowId))
            continue;
        const QDate cared = entries_[o->entry].date;
        const qint64 days = cared.daysTo(until);
        kept.push_back(&*o);
        candidates.push_back({&o->prediction, cared, days >= delay.from && days <= delay.to});
    }
    // Cares paid after the usual delay first (a care left unpaid for months is seldom paid
    // now), the oldest first within each group.
    std::vector<size_t> order(candidates.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_partition(order.begin(), order.end(),
                          [&](size_t i) { return candidates[i].usual; });
    {
        std::vector<const Owed *> k;
        std::vector<CombinationSearch::Candidate> c;
        for (size_t i : order) {
            k.push_back(kept[i]);
            c.push_back(candidates[i]);
        }
        kept.swap(k);
        candidates.swap(c);
    }
    CombinationSearch search(payment, std::move(candidates), options_);
    const std::vector<CombinationSearch::Fit> fits = search.run();
    for (size_t f = 0; f < fits.size(); ++f) {
        const CombinationSearch::Fit &fit = fits[f];
        ProposedCombination c;
        c.fit = fit.kind;
        bool firm = true;
        for (size_t k = 0; k < fit.members.size(); ++k) {
            const Owed &o = *kept[size_t(fit.members[k])];
            c.shares.push_back({entries_[o.entry], o.prediction, fit.shares[k]});
            firm = firm && o.prediction.firm;
        }
        if (fit.kind == FitKind::Range)
            c.confidence = Confidence::ToCheck;
        else if (f == 0 && fit.kind == FitKind::Expected && firm && !search.ambiguous())
            c.confidence = Confidence::Sure;
        else
            c.confidence = Confidence::ToChoose;
        proposal.combinations.push_back(std::move(c));
    }
}

PaymentProposal PaymentMatcher::propose(const StatementLine &line, const LedgerKey &key,
                                        AwaitedPayer payer, const QSet<qint64> &taken) const
{
    PaymentProposal proposal;
    proposal.line = line;
    proposal.key = key;
    proposal.payer = payer;
    if (line.isCredit() && line.date.isValid())
        search(proposal, taken);
    return proposal;
}

MatchResult PaymentMatcher::match(const std::vector<StatementLine> &lines,
                                  const PayerRecognition &payers,
                                  const StatementLedger &ledger) const
{
    MatchResult result;
    const std::vector<LedgerKey> keys = LedgerKey::of(lines);
    std::vector<size_t> open;
    for (size_t i = 0; i < lines.size(); ++i) {
        const StatementLine &line = lines[i];
        if (!line.isCredit()) {
            ++result.debits;
            continue;
        }
        const std::optional<AwaitedPayer> payer = payers.payerOf(line.label);
        if (!payer) {
            result.otherCredits.push_back(line);
            continue;
        }
        PaymentProposal proposal;
        proposal.line = line;
        proposal.key = keys[i];
        proposal.payer = *payer;
        if (const auto at = ledger.appliedAt(keys[i])) {
            proposal.alreadyApplied = true;
            proposal.appliedAt = *at;
        } else if (line.date.isValid()) {
            search(proposal, {});
            open.push_back(result.payments.size());
        }
        result.payments.push_back(std::move(proposal));
    }
    // Each entry goes to one payment of a payer: the surest choose first.
    std::stable_sort(open.begin(), open.end(), [&](size_t a, size_t b) {
        const PaymentProposal &pa = result.payments[a], &pb = result.payments[b];
        const int sa = strength(pa), sb = strength(pb);
        return sa != sb ? sa < sb : pa.line.date < pb.line.date;
    });
    std::array<QSet<qint64>, 2> taken;
    for (size_t index : open) {
        PaymentProposal &p = result.payments[index];
        QSet<qint64> &mine = taken[slot(p.payer)];
        if (uses(p, mine))
            search(p, mine);
        if (p.matched()) {
            for (const ProposedShare &s : p.combinations.front().shares)
                mine.insert(s.entry.row.rowId);
        }
    }
    return result;
}

std::vector<ProposedShare> PaymentMatcher::pickable(const PaymentProposal &payment) const
{
    std::vector<ProposedShare> shares;
    for (const Owed &o : owedTo(payment.payer)) {
        if (entries_[o.entry].date <= payment.line.date)
            shares.push_back({entries_[o.entry], o.prediction, o.prediction.expected});
    }
    std::reverse(shares.begin(), shares.end());
    return shares;
}

ProposedCombination PaymentMatcher::byHand(const PaymentProposal &payment,
                                           const QList<qint64> &rows) const
{
    ProposedCombination c;
    c.fit = FitKind::ByHand;
    c.confidence = Confidence::ToCheck;
    std::vector<SharePrediction> predictions;
    for (qint64 row : rows) {
        const auto found = std::find_if(entries_.begin(), entries_.end(),
                                        [row](const CareFacts &e) { return e.row.rowId == row; });
        if (found == entries_.end())
            continue;
        // An entry the payer is not expected to pay anything for may still be picked.
        SharePrediction p = predictor_.predict(*found, payment.payer).value_or(SharePrediction{});
        if (p.values.empty())
            p.high = found->cost;
        c.shares.push_back({*found, p, 0});
        predictions.push_back(p);
    }
    const std::vector<qint64> shares = ShareSplit::spread(payment.line.cents, predictions);
    for (size_t k = 0; k < shares.size(); ++k)
        c.shares[k].share = shares[k];
    return c;
}
