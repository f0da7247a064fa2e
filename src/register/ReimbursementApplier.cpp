#include "ReimbursementApplier.h"

#include "CareRegister.h"
#include "MatchingTexts.h"
#include "StatementLedger.h"
#include "tables/CareEntryTable.h"

#include "platform/store/ControlsDisabled.h"
#include "platform/store/DatabaseError.h"
#include "platform/store/Table.h"
#include "platform/store/TableTransaction.h"

#include <QScopeGuard>
#include <QSet>

using namespace CareFields;

ReimbursementApplier::ReimbursementApplier(CareRegister &rules)
    : rules_(rules), table_(rules.table())
{
}

void ReimbursementApplier::check(const std::vector<ConfirmedPayment> &payments) const
{
    for (const ConfirmedPayment &p : payments) {
        if (p.payer == AwaitedPayer::ToCheck)
            throw PlatformError(MatchingTexts::notAPayer());
        if (p.shares.empty())
            throw PlatformError(MatchingTexts::noEntry(p.line.date, p.line.cents));
        qint64 total = 0;
        for (const ConfirmedPayment::Share &s : p.shares) {
            if (s.cents <= 0)
                throw PlatformError(MatchingTexts::shareNotPositive(p.line.date, p.line.cents));
            total += s.cents;
        }
        if (total != p.line.cents)
            throw PlatformError(MatchingTexts::sharesDoNotAddUp(p.line.date, p.line.cents, total));
    }
}

void ReimbursementApplier::write(const std::vector<ConfirmedPayment> &payments, const QDateTime &at)
{
    TableTransaction transaction(table_);
    StatementLedger::ensureTables(transaction.database());
    StatementLedger ledger = StatementLedger::read(transaction.database());
    QSet<qint64> written[2];
    int step = 0;
    for (const ConfirmedPayment &p : payments) {
        const bool cpam = p.payer == AwaitedPayer::Cpam;
        if (ledger.appliedAt(p.key))
            throw PlatformError(MatchingTexts::alreadyApplied(p.line.date, p.line.cents,
                                                              p.line.label.simplified()));
        Field &date = table_.fieldByName(cpam ? DateCPAM : DateMutuelle);
        Field &amount = table_.fieldByName(cpam ? MontantCPAM : MontantMutuelle);
        std::vector<std::pair<qint64, qint64>> shares;
        for (const ConfirmedPayment::Share &s : p.shares) {
            if (!table_.gotoBookmark(Bookmark{s.row}))
                throw PlatformError(MatchingTexts::entryGone(p.line.date, p.line.cents));
            const QDate careDate = table_.fieldByName(DateSoins).asDate();
            const QString beneficiary = table_.fieldByName(Beneficiaire).asString();
            if (written[cpam ? 0 : 1].contains(s.row))
                throw PlatformError(MatchingTexts::entryTwice(careDate, beneficiary));
            // Typed in meanwhile, or applied from another statement: the person decides again.
            if (!date.isNull())
                throw PlatformError(
                    MatchingTexts::alreadyReimbursed(careDate, beneficiary, cpam, date.asDate()));
            table_.edit();
            date.setAsDate(p.line.date);
            amount.setAsCents(s.cents);
            table_.post();
            written[cpam ? 0 : 1].insert(s.row);
            shares.push_back({s.row, s.cents});
            if (afterStep)
                afterStep(++step);
        }
        ledger.record(transaction.database(), p.key, p.payer, shares, at);
        if (p.rememberLabel)
            StatementLedger::rememberLabel(transaction.database(), p.line.label, p.payer, at);
        if (afterStep)
            afterStep(++step);
    }
    transaction.commit();
}

void ReimbursementApplier::writeInView(const std::vector<ConfirmedPayment> &payments,
                                       const QDateTime &at)
{
    const ControlsDisabled still(table_);
    const Bookmark mark = table_.bookmark();
    // Entries out of the view are reached with the filter lifted; the view and the current
    // row come back however the apply ends.
    const bool filtered = table_.isFiltered();
    const auto restore = qScopeGuard([&] {
        try {
            if (!table_.isActive())
                return;
            table_.cancel();
            if (filtered)
                table_.setFiltered(true);
            table_.gotoBookmark(mark);
        } catch (const DatabaseError &) {
            // Safe to ignore: a view that cannot be set again leaves the wider one, with the
            // register's rows as the file holds them.
        }
    });
    if (filtered)
        table_.setFiltered(false);
    write(payments, at);
}

void ReimbursementApplier::apply(const std::vector<ConfirmedPayment> &payments, const QDateTime &at)
{
    try {
        check(payments);
    } catch (const PlatformError &e) {
        throw PlatformError(MatchingTexts::nothingWritten(e.message()));
    }
    table_.checkBrowseMode();
    // The sums are read again from what the file holds, whether the writes went in or not.
    const auto totals = qScopeGuard([this] {
        try {
            if (table_.isActive())
                rules_.TableTousAfterOpen();
        } catch (const PlatformError &) {
            // Safe to ignore: the totals recover on their own (a wider view) and are read
            // again at the next post; the apply's own outcome is what is reported.
        }
    });
    try {
        writeInView(payments, at);
    } catch (const PlatformError &e) {
        throw PlatformError(MatchingTexts::nothingWritten(e.message()));
    }
}
