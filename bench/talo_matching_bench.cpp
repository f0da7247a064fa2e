// Matching a statement against a large register: a family's history generated over twenty
// years (the same doctors again and again, rates of 70 % and 60 %, 2 € withheld per act), the
// last weeks' cares paid in grouped transfers by the C.P.A.M. and the mutuelle. Reports the
// time to build the predictions and to match the payments, and how many payments had the
// entries they really paid as their first proposal.

#include "platform/widgets/LongWork.h"
#include "register/LedgerKey.h"
#include "register/PayerRecognition.h"
#include "register/PaymentMatcher.h"
#include "register/StatementLedger.h"
#include "statements/StatementReader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace
{

struct Doctor {
    const char *name, *speciality;
    qint64 cost, base;
    int rate;
};

const Doctor doctors[] = {
    {"MARTIN", "Généraliste", 3000, 3000, 70},      {"PETIT", "Pédiatre", 3500, 3000, 70},
    {"DURAND", "Kinésithérapeute", 1613, 1613, 60}, {"ROUX", "Infirmier", 1000, 1000, 60},
    {"BLANC", "Dermatologue", 5000, 3000, 70},      {"LEROY", "Dentiste", 2300, 2300, 70},
    {"MOREAU", "Ophtalmologiste", 6000, 3000, 70},  {"GARNIER", "Orthophoniste", 2500, 2500, 60},
};
const char *const family[] = {"PAPA", "MAMAN", "LEO", "EMMA"};
constexpr qint64 withheld = 200;

struct Payment {
    StatementLine line;
    std::set<qint64> rows;
    std::map<qint64, qint64> shares;
};

struct Generated {
    std::vector<CareFacts> entries;
    std::vector<Payment> payments;
};

qint64 cpamShare(const Doctor &d)
{
    return (d.base * d.rate + 50) / 100 - withheld;
}

// Cares from the pay date's batch, split into transfers of one to three entries.
void addTransfers(std::vector<Payment> &out, const QDate &date, std::vector<qint64> rows,
                  const std::vector<qint64> &amounts, const char *label, QRandomGenerator &rng)
{
    size_t at = 0;
    while (at < rows.size()) {
        const int roll = int(rng.bounded(10));
        const size_t size = std::min(rows.size() - at, size_t(roll < 5 ? 1 : roll < 8 ? 2 : 3));
        Payment p;
        p.line = StatementLine{date, 0, QString::fromLatin1(label), QString(), 0};
        for (size_t k = at; k < at + size; ++k) {
            p.rows.insert(rows[k]);
            p.shares[rows[k]] = amounts[k];
            p.line.cents += amounts[k];
        }
        out.push_back(p);
        at += size;
    }
}

Generated generate(int count, int years, int unpaidDays, const QDate &statementEnd,
                   int paymentCount)
{
    QRandomGenerator rng(20250630);
    Generated g;
    const QDate first = statementEnd.addYears(-years);
    const qint64 days = first.daysTo(statementEnd);
    const QDate unpaidFrom = statementEnd.addDays(-unpaidDays);
    // Payments by pay date: the rows and amounts of each payer.
    QMap<QDate, std::pair<std::vector<qint64>, std::vector<qint64>>> cpamOn, mutuelleOn;
    for (int i = 0; i < count; ++i) {
        CareFacts e;
        e.row = Bookmark{i + 1};
        e.date = first.addDays(qint64(rng.bounded(int(days))));
        const int who = int(rng.bounded(4));
        e.beneficiary = QString::fromLatin1(family[who]);
        // Each person sees a few doctors of their own most of the time.
        const Doctor &d = doctors[rng.bounded(10) < 7 ? size_t((who * 2 + int(rng.bounded(2))) % 8)
                                                      : size_t(rng.bounded(8))];
        e.doctor = QString::fromLatin1(d.name);
        e.speciality = QString::fromUtf8(d.speciality);
        e.cost = d.cost;
        e.base = rng.bounded(2) ? d.base : 0; // half the family types the base
        const qint64 cpam = cpamShare(d), mutual = d.cost - cpam - withheld;
        const QDate cpamDate = e.date.addDays(3 + int(rng.bounded(8)));
        const QDate mutuelleDate = cpamDate.addDays(2 + int(rng.bounded(6)));
        if (e.date < unpaidFrom) {
            // Paid long ago, but a few were never claimed.
            if (rng.bounded(50) != 0) {
                e.cpam = cpam;
                e.cpamDate = cpamDate;
                e.cpamPaid = true;
                e.mutual = mutual;
                e.mutuelleDate = mutuelleDate;
                e.mutuellePaid = true;
            }
        } else {
            if (cpamDate <= statementEnd) {
                cpamOn[cpamDate].first.push_back(e.row.rowId);
                cpamOn[cpamDate].second.push_back(cpam);
            }
            if (mutuelleDate <= statementEnd) {
                mutuelleOn[mutuelleDate].first.push_back(e.row.rowId);
                mutuelleOn[mutuelleDate].second.push_back(mutual);
            }
        }
        g.entries.push_back(e);
    }
    std::vector<Payment> all;
    for (auto it = cpamOn.cbegin(); it != cpamOn.cend(); ++it)
        addTransfers(all, it.key(), it->first, it->second, "VIR CPAM DE PARIS", rng);
    for (auto it = mutuelleOn.cbegin(); it != mutuelleOn.cend(); ++it)
        addTransfers(all, it.key(), it->first, it->second, "VIR HARMONIE MUTUELLE", rng);
    std::stable_sort(all.begin(), all.end(),
                     [](const Payment &a, const Payment &b) { return a.line.date < b.line.date; });
    // The statement: the last `paymentCount` payments.
    if (int(all.size()) > paymentCount)
        all.erase(all.begin(), all.end() - paymentCount);
    g.payments = all;
    return g;
}

void run(const char *title, int entries, int years, int unpaidDays, int payments)
{
    const Generated g = generate(entries, years, unpaidDays, QDate(2025, 6, 30), payments);
    std::vector<StatementLine> lines;
    for (const Payment &p : g.payments)
        lines.push_back(p.line);

    QElapsedTimer timer;
    timer.start();
    const PaymentMatcher matcher(g.entries);
    const double predictMs = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    const MatchResult result = matcher.match(
        lines, PayerRecognition(QStringLiteral("Harmonie Mutuelle")), StatementLedger());
    const double matchMs = double(timer.nsecsElapsed()) / 1e6;

    int rightSet = 0, rightShares = 0, unmatched = 0, inLaterProposal = 0;
    std::map<Confidence, std::pair<int, int>> byConfidence; // right, all
    for (size_t i = 0; i < result.payments.size(); ++i) {
        const PaymentProposal &p = result.payments[i];
        const Payment &truth = g.payments[i];
        if (!p.matched()) {
            ++unmatched;
            continue;
        }
        const auto same = [&](const ProposedCombination &c, bool shares) {
            std::set<qint64> rows;
            for (const ProposedShare &s : c.shares) {
                rows.insert(s.entry.row.rowId);
                if (shares && truth.shares.count(s.entry.row.rowId) &&
                    truth.shares.at(s.entry.row.rowId) != s.share)
                    return false;
            }
            return rows == truth.rows;
        };
        const ProposedCombination &best = p.combinations.front();
        auto &tally = byConfidence[best.confidence];
        ++tally.second;
        if (same(best, false)) {
            ++rightSet;
            ++tally.first;
            rightShares += same(best, true);
        } else if (std::any_of(p.combinations.begin() + 1, p.combinations.end(),
                               [&](const ProposedCombination &c) { return same(c, false); })) {
            ++inLaterProposal;
        }
    }
    const int n = int(result.payments.size());
    const auto percent = [n](int k) { return n ? 100.0 * k / n : 0.0; };
    std::printf("%s: %d entries over %d years, %d payments, %d entries owed to the C.P.A.M.\n",
                title, entries, years, n,
                int(std::count_if(g.entries.begin(), g.entries.end(),
                                  [](const CareFacts &e) { return !e.cpamPaid; })));
    std::printf("  predictions and history: %.1f ms; matching: %.1f ms; total %.1f ms\n", predictMs,
                matchMs, predictMs + matchMs);
    std::printf("  first proposal right (entries): %d (%.1f %%), with the right shares: %d "
                "(%.1f %%)\n",
                rightSet, percent(rightSet), rightShares, percent(rightShares));
    std::printf("  right one among the later proposals: %d (%.1f %%); unmatched: %d (%.1f %%)\n",
                inLaterProposal, percent(inLaterProposal), unmatched, percent(unmatched));
    for (const auto &[confidence, tally] : byConfidence)
        std::printf("    \"%s\": %d payments, first proposal right for %d (%.1f %%)\n",
                    qPrintable(ProposedCombination::confidenceText(confidence)), tally.second,
                    tally.first, tally.second ? 100.0 * tally.first / tally.second : 0.0);
}

// A year of a busy account downloaded at once: `count` OFX transactions, the C.P.A.M. and
// mutuelle payments of the generated register among salaries and card payments. Reports the
// time to read the file (scan and libofx) and to match it.
void statement(const char *title, int entries, int count)
{
    const Generated g = generate(entries, 20, 75, QDate(2025, 6, 30), 500);
    QByteArray body;
    QRandomGenerator rng(7);
    for (int i = 0; i < count; ++i) {
        const bool payment = size_t(i) < g.payments.size();
        const StatementLine line =
            payment ? g.payments[size_t(i)].line
                    : StatementLine{QDate(2025, 6, 30).addDays(-int(rng.bounded(365))),
                                    -qint64(rng.bounded(20000)) - 1, QStringLiteral("CB MAGASIN"),
                                    QString(), 0};
        body += QStringLiteral("<STMTTRN>\n<TRNTYPE>%1\n<DTPOSTED>%2\n<TRNAMT>%3\n<FITID>F%4\n"
                               "<NAME>%5\n</STMTTRN>\n")
                    .arg(line.cents > 0 ? QStringLiteral("CREDIT") : QStringLiteral("DEBIT"),
                         line.date.toString(QStringLiteral("yyyyMMdd")),
                         QString::number(double(line.cents) / 100.0, 'f', 2))
                    .arg(i)
                    .arg(line.label)
                    .toLatin1();
    }
    const QByteArray ofx =
        "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\nSECURITY:NONE\nENCODING:USASCII\n"
        "CHARSET:1252\nCOMPRESSION:NONE\nOLDFILEUID:NONE\nNEWFILEUID:NONE\n\n<OFX>\n"
        "<BANKMSGSRSV1>\n<STMTTRNRS>\n<TRNUID>0\n<STMTRS>\n<CURDEF>EUR\n<BANKACCTFROM>\n"
        "<BANKID>30004\n<ACCTID>1\n<ACCTTYPE>CHECKING\n</BANKACCTFROM>\n<BANKTRANLIST>\n" +
        body + "</BANKTRANLIST>\n</STMTRS>\n</STMTTRNRS>\n</BANKMSGSRSV1>\n</OFX>\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("releve.ofx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ofx) != ofx.size())
        return;
    file.close();

    QElapsedTimer timer;
    timer.start();
    const StatementFile read = StatementReader::read(path);
    const double readMs = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    const PaymentMatcher matcher(g.entries);
    const MatchResult result = matcher.match(
        read.lines, PayerRecognition(QStringLiteral("Harmonie Mutuelle")), StatementLedger());
    const double matchMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%s: %d OFX transactions (%d payments), %d entries\n", title,
                int(read.lines.size()), int(result.payments.size()), entries);
    std::printf("  reading: %.1f ms; predictions and matching: %.1f ms; total %.1f ms\n", readMs,
                matchMs, readMs + matchMs);

    // The same reading as the import runs it, on a worker with its progress bar: the longest
    // the window thread went without handling its events (a 10 ms timer) while it lasted.
    QWidget window;
    QElapsedTimer sinceTick;
    qint64 longestMs = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longestMs = std::max(longestMs, sinceTick.restart()); });
    timer.restart();
    sinceTick.start();
    tick.start();
    LongWork::run(&window, QStringLiteral("Lecture du relevé…"), LongWork::Cancel::Offered,
                  [path](WorkProgress &progress) {
                      StatementReader::read(path, nullptr, [&progress](int done, int total) {
                          progress.report(done, total);
                      });
                  });
    tick.stop();
    std::printf("  on a worker with its progress bar: %.1f ms; window thread's longest wait for "
                "its events: %lld ms\n",
                double(timer.nsecsElapsed()) / 1e6, longestMs);
}

} // namespace

int main(int argc, char **argv)
{
    // The progress bar of the statement's reading needs a GUI; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The load: a register of 100,000 entries (fourteen cares a day), the last 75 days owed.
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    run("Charge", entries, 20, 75, 500);
    // A family: 150 cares a year for 20 years, the last year's statements imported at once.
    run("Famille", 3000, 20, 365, 500);
    statement("Relevé", 3000, 5000);
    return 0;
}
