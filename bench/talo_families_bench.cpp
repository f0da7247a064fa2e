// How a person meets the matching of a statement: families' registers and statements made
// with the payers' own arithmetic (FamilyStatements), matched as the import does, and scored
// by what the person would have to correct.

#include "FamilyStatements.h"
#include "register/PayerRecognition.h"
#include "register/PaymentMatcher.h"
#include "register/StatementLedger.h"

#include <QElapsedTimer>

#include <cstdio>
#include <map>
#include <set>
#include <string_view>
#include <tuple>

namespace
{

// Whether writing `proposed` leaves the register as writing `truth` would: the same shares
// on the same entries, or on entries a person cannot tell apart (same day, person, doctor and
// cost: two sessions of one day).
bool sameWriting(const std::map<qint64, qint64> &proposed, const std::map<qint64, qint64> &truth,
                 const std::vector<CareFacts> &entries)
{
    const auto look = [&](qint64 row) {
        for (const CareFacts &e : entries) {
            if (e.row.rowId == row)
                return std::tuple{e.date, e.beneficiary, e.doctor, e.cost};
        }
        return std::tuple{QDate(), QString(), QString(), qint64(0)};
    };
    std::multiset<std::tuple<QDate, QString, QString, qint64, qint64>> a, b;
    for (const auto &[row, share] : proposed)
        a.insert(std::tuple_cat(look(row), std::tuple{share}));
    for (const auto &[row, share] : truth)
        b.insert(std::tuple_cat(look(row), std::tuple{share}));
    return a == b;
}

// Families the matching never saw, made with the payers' own arithmetic: per family and in all,
// the payer transfers whose first proposal is what they really paid (entries and shares; for a
// transfer that pays nothing awaited, nothing proposed as a fit), and the proposals written
// unasked that are wrong, which a person would have to find and correct. A proposal that
// writes the register exactly as the truth would (equal cares, equal transfers of one day) is
// right: nobody could tell, nor would have anything to correct.
void families(bool verbose, int rounds)
{
    struct Tally {
        int transfers = 0, right = 0, listed = 0, preselected = 0, preselectedWrong = 0,
            unrecognised = 0;
        std::map<QString, std::pair<int, int>> byState; // right, all
        void add(const Tally &o)
        {
            transfers += o.transfers;
            right += o.right;
            listed += o.listed;
            preselected += o.preselected;
            preselectedWrong += o.preselectedWrong;
            unrecognised += o.unrecognised;
            for (const auto &[state, t] : o.byState) {
                byState[state].first += t.first;
                byState[state].second += t.second;
            }
        }
        void print(const QString &title) const
        {
            const auto percent = [](int k, int n) { return n ? 100.0 * k / n : 0.0; };
            std::printf("%s: %d payer transfers, first proposal right %d (%.1f %%), written "
                        "unasked %d, of which wrong %d (%.1f %%), not recognised %d\n",
                        qPrintable(title), transfers, right, percent(right, transfers), preselected,
                        preselectedWrong, percent(preselectedWrong, preselected), unrecognised);
            std::printf("    the right one among the proposals listed: %d (%.1f %%)\n", listed,
                        percent(listed, transfers));
            for (const auto &[state, t] : byState)
                std::printf("    \"%s\": %d, right %d (%.1f %%)\n", qPrintable(state), t.second,
                            t.first, percent(t.first, t.second));
        }
    };
    Tally overall;
    QElapsedTimer timer;
    qint64 matchNs = 0;
    std::vector<FamilyStatements::Family> all;
    for (int round = 0; round < rounds; ++round) {
        for (FamilyStatements::Family &f : FamilyStatements::all(QDate(2025, 6, 30), 120, round))
            all.push_back(std::move(f));
    }
    for (const FamilyStatements::Family &f : all) {
        timer.start();
        const PaymentMatcher matcher(f.entries);
        const MatchResult result =
            matcher.match(f.lines, PayerRecognition(f.mutuelleName), StatementLedger());
        matchNs += timer.nsecsElapsed();
        // The proposals by line: date, amount and label, equal lines in their order.
        std::multimap<std::tuple<QDate, qint64, QString>, const PaymentProposal *> byLine;
        for (const PaymentProposal &p : result.payments)
            byLine.insert({{p.line.date, p.line.cents, p.line.label}, &p});
        Tally t;
        for (const FamilyStatements::Payment &truth : f.payments) {
            ++t.transfers;
            const auto found = byLine.find({truth.line.date, truth.line.cents, truth.line.label});
            if (found == byLine.end() || found->second->payer != truth.payer) {
                ++t.unrecognised;
                if (found != byLine.end())
                    byLine.erase(found);
                continue;
            }
            const PaymentProposal &p = *found->second;
            byLine.erase(found);
            const auto writes = [&](const ProposedCombination &c) {
                std::map<qint64, qint64> proposed;
                for (const ProposedShare &s : c.shares)
                    proposed[s.entry.row.rowId] = s.share;
                return sameWriting(proposed, truth.shares, f.entries) ||
                       std::any_of(f.payments.begin(), f.payments.end(), [&](const auto &q) {
                           return &q != &truth && q.payer == truth.payer &&
                                  q.line.date == truth.line.date &&
                                  q.line.cents == truth.line.cents && q.shares == proposed;
                       });
            };
            bool right = false, listed = false;
            if (truth.shares.empty()) {
                right = listed =
                    !p.preselected() &&
                    (!p.matched() || p.combinations.front().confidence == Confidence::ToCheck);
            } else if (p.matched()) {
                right = writes(p.combinations.front());
                listed = std::any_of(p.combinations.begin(), p.combinations.end(), writes);
            }
            t.listed += listed;
            if (verbose && !right) {
                const auto describe = [&](qint64 row) {
                    for (const CareFacts &e : f.entries) {
                        if (e.row.rowId == row)
                            return QStringLiteral("%1 %2 %3 %4 cost %5 base %6")
                                .arg(row)
                                .arg(e.date.toString(Qt::ISODate), e.beneficiary, e.speciality)
                                .arg(e.cost)
                                .arg(e.base);
                    }
                    return QString::number(row);
                };
                std::printf("  MISS %s %s %lld (%s)\n",
                            truth.payer == AwaitedPayer::Cpam ? "CPAM" : "MUT",
                            qPrintable(truth.line.date.toString(Qt::ISODate)), truth.line.cents,
                            p.matched() ? qPrintable(ProposedCombination::confidenceText(
                                              p.combinations.front().confidence))
                                        : "none");
                for (const auto &[row, share] : truth.shares)
                    std::printf("      truth %lld  %s\n", share, qPrintable(describe(row)));
                for (size_t c = 0; c < p.combinations.size() && c < 3; ++c) {
                    std::printf("    proposal %zu:\n", c + 1);
                    for (const ProposedShare &s : p.combinations[c].shares) {
                        QStringList values;
                        for (const ShareCandidate &v : s.prediction.candidates)
                            values.append(QString::number(v.amount));
                        std::printf("      %lld  %s  [%s]\n", s.share,
                                    qPrintable(describe(s.entry.row.rowId)),
                                    qPrintable(values.join(QLatin1Char(' '))));
                    }
                }
            }
            const QString state =
                p.matched() ? ProposedCombination::confidenceText(p.combinations.front().confidence)
                            : QStringLiteral("laissé de côté");
            auto &s = t.byState[state];
            ++s.second;
            s.first += right;
            t.right += right;
            if (p.preselected()) {
                ++t.preselected;
                t.preselectedWrong += !right;
            }
        }
        t.print(QStringLiteral("  %1 (%2 entries)").arg(f.name).arg(f.entries.size()));
        overall.add(t);
    }
    overall.print(QStringLiteral("Families in all"));
    std::printf("  matching time, all families: %.1f ms\n", double(matchNs) / 1e6);
}

} // namespace

int main(int argc, char **argv)
{
    // -v: every payment whose first proposal is wrong, with what it really paid.
    families(argc > 1 && std::string_view(argv[1]) == "-v", 4);
    return 0;
}
