#include "PaymentMatcher.h"

#include "CombinationSearch.h"
#include "PayerRecognition.h"
#include "ShareSplit.h"
#include "StatementLedger.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace
{

// The person, year and kind of withholding an entry's C.P.A.M. share counts against.
QString capKey(const CareFacts &e)
{
    return QStringLiteral("%1|%2|%3")
        .arg(e.beneficiary.simplified().toUpper())
        .arg(e.date.year())
        .arg(int(CpamRules::withholdingOf(CareActs::of(e.speciality))));
}

} // namespace

PaymentMatcher::PaymentMatcher(std::vector<CareFacts> entries, MatchOptions options)
    : entries_(std::move(entries)), options_(options), history_(entries_), predictor_(history_)
{
    std::vector<size_t> byDate;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].date.isValid())
            byDate.push_back(i);
    }
    std::stable_sort(byDate.begin(), byDate.end(),
                     [this](size_t a, size_t b) { return entries_[a].date < entries_[b].date; });
    // Cares owed earlier in a year take the person's yearly cap first.
    QHash<QString, qint64> pending;
    for (size_t i : byDate) {
        const CareFacts &e = entries_[i];
        const QString key = capKey(e);
        if (auto p = predictor_.predictCpam(e, pending.value(key))) {
            pending[key] += p->candidates.front().withheld;
            cpamOwed_.push_back({i, std::move(*p), e.date, true});
        }
        if (const auto cpam = predictor_.writtenCpam(e)) {
            if (auto p = predictor_.predictMutuelle(e, cpam))
                mutuelleOwed_.push_back({i, std::move(*p), e.cpamPaid ? e.cpamDate : e.date, true});
        }
    }
}

PaymentMatcher::Fitted PaymentMatcher::fit(const PaymentProposal &payment,
                                           const std::vector<Owed> &pool,
                                           const QSet<qint64> &taken) const
{
    Fitted out;
    const QDate until = payment.line.date, from = until.addDays(-options_.windowDays);
    const PaymentHistory::Delay delay = history_.delay(payment.payer);
    std::vector<const Owed *> usual, all;
    for (const Owed &o : pool) {
        if (o.from > until || o.from < from || taken.contains(entries_[o.entry].row.rowId))
            continue;
        const qint64 days = o.from.daysTo(until);
        all.push_back(&o);
        if (days >= delay.from - options_.slackDays && days <= delay.to + options_.slackDays)
            usual.push_back(&o);
    }
    // Within the usual delay first; further back only when nothing there fits.
    for (const std::vector<const Owed *> *candidates : {&usual, &all}) {
        std::vector<ExactFits::Item> items;
        for (const Owed *o : *candidates) {
            const qint64 days = o->from.daysTo(until);
            items.push_back(
                {&o->prediction, o->from,
                 days >= delay.from - options_.slackDays && days <= delay.to + options_.slackDays});
        }
        ExactFits search(payment.line.cents, items, options_.maxEntries, options_.maxFits,
                         options_.searchBudget);
        out.fits = search.run();
        out.complete = search.complete();
        out.items = std::move(items);
        out.owed = *candidates;
        out.allLearned = std::all_of(out.owed.begin(), out.owed.end(), [&](const Owed *o) {
            return o->prediction.firm || o->prediction.low > payment.line.cents;
        });
        if (!out.fits.empty() || candidates == &all)
            break;
    }
    return out;
}

ProposedCombination PaymentMatcher::combination(const Fitted &fitted, const ExactFits::Fit &fit,
                                                Confidence confidence) const
{
    ProposedCombination c;
    c.confidence = confidence;
    c.fit = fit.rankSum == 0 ? FitKind::Expected : FitKind::Alternative;
    const std::vector<qint64> shares = fit.shares(fitted.items);
    for (size_t k = 0; k < fit.members.size(); ++k) {
        const Owed &o = *fitted.owed[size_t(fit.members[k])];
        c.shares.push_back({entries_[o.entry], o.prediction, shares[k]});
    }
    return c;
}

void PaymentMatcher::approximate(PaymentProposal &proposal, const std::vector<Owed> &pool,
                                 const QSet<qint64> &taken) const
{
    const QDate until = proposal.line.date, from = until.addDays(-options_.windowDays);
    std::vector<const Owed *> kept;
    std::vector<CombinationSearch::Candidate> candidates;
    for (const Owed &o : pool) {
        if (o.from > until || o.from < from || taken.contains(entries_[o.entry].row.rowId) ||
            o.prediction.low > proposal.line.cents + options_.toleranceCents)
            continue;
        kept.push_back(&o);
        candidates.push_back({&o.prediction, o.from, true});
    }
    MatchOptions approximate = options_;
    approximate.maxEntries = 2;
    CombinationSearch search(proposal.line.cents, std::move(candidates), approximate);
    for (const CombinationSearch::Fit &fit : search.run()) {
        ProposedCombination c;
        c.fit = FitKind::Range;
        c.confidence = Confidence::ToCheck;
        for (size_t k = 0; k < fit.members.size(); ++k) {
            const Owed &o = *kept[size_t(fit.members[k])];
            c.shares.push_back({entries_[o.entry], o.prediction, fit.shares[k]});
        }
        proposal.combinations.push_back(std::move(c));
    }
}

void PaymentMatcher::settle(MatchResult &result, const std::vector<size_t> &open,
                            const std::vector<Owed> &pool) const
{
    std::vector<Fitted> fitted;
    for (size_t index : open)
        fitted.push_back(fit(result.payments[index], pool, {}));
    const auto rowsOf = [&](size_t k, const ExactFits::Fit &f) {
        std::vector<qint64> rows;
        for (int m : f.members)
            rows.push_back(entries_[fitted[k].owed[size_t(m)]->entry].row.rowId);
        return rows;
    };
    QSet<qint64> taken;
    const auto live = [&](size_t k) {
        std::vector<const ExactFits::Fit *> out;
        for (const ExactFits::Fit &f : fitted[k].fits) {
            const std::vector<qint64> rows = rowsOf(k, f);
            if (std::none_of(rows.begin(), rows.end(), [&](qint64 r) { return taken.contains(r); }))
                out.push_back(&f);
        }
        return out;
    };
    // A payment with one fit left is sure, unless another such payment wants one of its
    // entries; its entries then leave the others' fits, which may leave them one.
    std::vector<const ExactFits::Fit *> sure(open.size(), nullptr);
    for (bool progress = true; progress;) {
        progress = false;
        std::vector<std::pair<size_t, const ExactFits::Fit *>> single;
        std::map<qint64, int> wanted;
        for (size_t k = 0; k < open.size(); ++k) {
            if (sure[k] || !fitted[k].complete || !fitted[k].allLearned)
                continue;
            const std::vector<const ExactFits::Fit *> left = live(k);
            if (left.size() != 1 || left.front()->unusual > 0 || !left.front()->learned)
                continue;
            const ExactFits::Fit &f = *left.front();
            const bool firm = std::all_of(f.members.begin(), f.members.end(),
                                          [&](int m) { return fitted[k].owed[size_t(m)]->sure; });
            if (!firm)
                continue;
            single.push_back({k, &f});
            for (qint64 r : rowsOf(k, f))
                ++wanted[r];
        }
        for (const auto &[k, f] : single) {
            const std::vector<qint64> rows = rowsOf(k, *f);
            if (std::any_of(rows.begin(), rows.end(), [&](qint64 r) { return wanted[r] > 1; }))
                continue;
            sure[k] = f;
            for (qint64 r : rows)
                taken.insert(r);
            progress = true;
        }
    }
    // The others in date order: each offers first what the earlier ones did not already
    // offer first, so that equal payments for equal cares are proposed one care each.
    std::vector<size_t> byDate(open.size());
    for (size_t k = 0; k < open.size(); ++k)
        byDate[k] = k;
    std::stable_sort(byDate.begin(), byDate.end(), [&](size_t a, size_t b) {
        return result.payments[open[a]].line.date < result.payments[open[b]].line.date;
    });
    QSet<qint64> offered = taken;
    for (size_t k : byDate) {
        PaymentProposal &p = result.payments[open[k]];
        p.combinations.clear();
        if (sure[k]) {
            p.combinations.push_back(combination(fitted[k], *sure[k], Confidence::Sure));
            continue;
        }
        std::vector<const ExactFits::Fit *> left = live(k);
        std::stable_partition(left.begin(), left.end(), [&](const ExactFits::Fit *f) {
            const std::vector<qint64> rows = rowsOf(k, *f);
            return std::none_of(rows.begin(), rows.end(),
                                [&](qint64 r) { return offered.contains(r); });
        });
        for (const ExactFits::Fit *f : left) {
            if (int(p.combinations.size()) >= options_.maxCombinations)
                break;
            p.combinations.push_back(combination(fitted[k], *f, Confidence::ToChoose));
        }
        if (!left.empty()) {
            for (qint64 r : rowsOf(k, *left.front()))
                offered.insert(r);
        }
        if (p.combinations.empty())
            approximate(p, pool, taken);
    }
}

std::vector<PaymentMatcher::Owed>
PaymentMatcher::mutuellePool(const MatchResult &result, const std::vector<size_t> &cpamOpen) const
{
    std::vector<Owed> pool = mutuelleOwed_;
    // Entries the statement's C.P.A.M. payments are proposed for: owed by the mutuelle from
    // that payment on, over the share proposed (each share an alternative).
    std::map<size_t, Owed> paidHere;
    QHash<qint64, size_t> index;
    for (size_t i = 0; i < entries_.size(); ++i)
        index.insert(entries_[i].row.rowId, i);
    for (size_t open : cpamOpen) {
        const PaymentProposal &p = result.payments[open];
        for (const ProposedCombination &c : p.combinations) {
            if (c.confidence == Confidence::ToCheck)
                continue;
            for (const ProposedShare &s : c.shares) {
                const size_t entry = index.value(s.entry.row.rowId);
                const ShareCandidate *candidate = s.prediction.find(s.share);
                const SharePredictor::CpamShare cpam{s.share,
                                                     candidate ? candidate->full : s.share};
                const auto predicted = predictor_.predictMutuelle(entries_[entry], cpam);
                if (!predicted)
                    continue;
                auto [at, added] = paidHere.try_emplace(entry);
                Owed &o = at->second;
                if (added) {
                    o = Owed{entry, *predicted, p.line.date, p.preselected()};
                    continue;
                }
                std::vector<ShareCandidate> merged = o.prediction.candidates;
                merged.insert(merged.end(), predicted->candidates.begin(),
                              predicted->candidates.end());
                if (auto both = SharePrediction::over(merged, predicted->source))
                    o.prediction = *both;
                o.from = std::min(o.from, p.line.date);
                o.sure = false;
            }
        }
    }
    for (auto &[entry, owed] : paidHere)
        pool.push_back(std::move(owed));
    return pool;
}

PaymentProposal PaymentMatcher::propose(const StatementLine &line, const LedgerKey &key,
                                        AwaitedPayer payer, const QSet<qint64> &taken) const
{
    PaymentProposal proposal;
    proposal.line = line;
    proposal.key = key;
    proposal.payer = payer;
    if (!line.isCredit() || !line.date.isValid())
        return proposal;
    const std::vector<Owed> &pool = payer == AwaitedPayer::Cpam ? cpamOwed_ : mutuelleOwed_;
    const Fitted fitted = fit(proposal, pool, taken);
    const bool sure = fitted.complete && fitted.allLearned && fitted.fits.size() == 1 &&
                      fitted.fits.front().unusual == 0 && fitted.fits.front().learned;
    for (const ExactFits::Fit &f : fitted.fits) {
        if (int(proposal.combinations.size()) >= options_.maxCombinations)
            break;
        proposal.combinations.push_back(
            combination(fitted, f, sure ? Confidence::Sure : Confidence::ToChoose));
    }
    if (proposal.combinations.empty())
        approximate(proposal, pool, taken);
    return proposal;
}

MatchResult PaymentMatcher::match(const std::vector<StatementLine> &lines,
                                  const PayerRecognition &payers,
                                  const StatementLedger &ledger) const
{
    MatchResult result;
    const std::vector<LedgerKey> keys = LedgerKey::of(lines, payers);
    std::vector<size_t> open[2];
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
            open[*payer == AwaitedPayer::Cpam ? 0 : 1].push_back(result.payments.size());
        }
        result.payments.push_back(std::move(proposal));
    }
    settle(result, open[0], cpamOwed_);
    settle(result, open[1], mutuellePool(result, open[0]));
    return result;
}

std::vector<ProposedShare> PaymentMatcher::pickable(const PaymentProposal &payment) const
{
    std::vector<ProposedShare> shares;
    for (const CareFacts &e : entries_) {
        if (!e.date.isValid() || e.date > payment.line.date ||
            !SharePredictor::owes(e, payment.payer))
            continue;
        if (auto p = predictor_.predict(e, payment.payer))
            shares.push_back({e, *p, p->expected});
    }
    std::stable_sort(
        shares.begin(), shares.end(),
        [](const ProposedShare &a, const ProposedShare &b) { return a.entry.date > b.entry.date; });
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
        if (p.candidates.empty())
            p.high = found->cost;
        c.shares.push_back({*found, p, 0});
        predictions.push_back(p);
    }
    const std::vector<qint64> shares = ShareSplit::spread(payment.line.cents, predictions);
    for (size_t k = 0; k < shares.size(); ++k)
        c.shares[k].share = shares[k];
    return c;
}
