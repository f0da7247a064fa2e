#include "CareSearch.h"

#include "tables/CareEntryTable.h"

#include "platform/store/RowStore.h"
#include "platform/store/Table.h"

#include <algorithm>

using namespace CareFields;

namespace
{

enum Verdict : qint8 { Unknown = 0, Found, NotFound };

} // namespace

CareSearch::CareSearch(const Table &table) : table_(table)
{
    const TableDefinition &def = table.definition();
    for (const QString &name :
         {Beneficiaire, Medecin, Specialite, Paiement, NoteSoins, NoteCPAM, NoteMutuelle}) {
        TextField field;
        field.index = def.indexOf(name);
        texts_.push_back(std::move(field));
    }
    for (const QString &name : {Cout, Base, MontantCPAM, MontantMutuelle, Estimation})
        money_.push_back(def.indexOf(name));
    date_ = def.indexOf(DateSoins);
    cost_ = def.indexOf(Cout);
    cpam_ = def.indexOf(MontantCPAM);
    mutual_ = def.indexOf(MontantMutuelle);
    beneficiary_ = def.indexOf(Beneficiaire);
    doctor_ = def.indexOf(Medecin);
}

CareSearch::~CareSearch() = default;

std::vector<CareSearchHit> CareSearch::find(const CareSearchQuery &query)
{
    std::vector<CareSearchHit> hits;
    if (query.isEmpty() || !table_.isActive())
        return hits;
    // Per word and text field, the verdict on each distinct text, decided when first met.
    std::vector<std::vector<std::vector<qint8>>> verdicts(query.terms().size());
    bool prepared = false;
    table_.forEachStoredSlot([&](const RowStore &store, quint32 slot) {
        if (!prepared) {
            prepared = true;
            for (TextField &field : texts_) {
                const size_t size = store.pool(field.index).size();
                field.folded.resize(size);
                field.originals.resize(size);
            }
            for (auto &perWord : verdicts) {
                for (const TextField &field : texts_)
                    perWord.emplace_back(field.folded.size(), qint8(Unknown));
            }
        }
        for (size_t t = 0; t < query.terms().size(); ++t) {
            if (!matches(store, slot, query.terms()[t], verdicts[t]))
                return;
        }
        CareSearchHit hit;
        hit.row.rowId = store.rowId(slot);
        if (store.has(slot, date_))
            hit.date = QDate::fromJulianDay(store.number(slot, date_));
        hit.beneficiary = store.text(slot, beneficiary_);
        hit.doctor = store.text(slot, doctor_);
        if (store.has(slot, cost_))
            hit.cost = store.number(slot, cost_);
        hits.push_back(std::move(hit));
    });
    std::reverse(hits.begin(), hits.end());
    return hits;
}

bool CareSearch::matches(const RowStore &store, quint32 slot, const CareSearchQuery::Term &term,
                         std::vector<std::vector<qint8>> &verdicts)
{
    if (term.from.isValid() && store.has(slot, date_)) {
        const qint64 day = store.number(slot, date_);
        if (day >= term.from.toJulianDay() && day <= term.to.toJulianDay())
            return true;
    }
    if (term.cents) {
        for (int field : money_) {
            if (store.has(slot, field) && store.number(slot, field) == *term.cents)
                return true;
        }
        // The gap ("Ecart"), calculated: an empty amount counts as 0.
        const auto amount = [&](int field) {
            return store.has(slot, field) ? store.number(slot, field) : 0;
        };
        if (amount(cost_) - (amount(cpam_) + amount(mutual_)) == *term.cents)
            return true;
    }
    for (size_t f = 0; f < texts_.size(); ++f) {
        if (textMatches(store, slot, f, term, verdicts[f]))
            return true;
    }
    return false;
}

bool CareSearch::textMatches(const RowStore &store, quint32 slot, size_t f,
                             const CareSearchQuery::Term &term, std::vector<qint8> &verdicts)
{
    TextField &field = texts_[f];
    const quint32 id = store.textId(slot, field.index);
    if (id == 0)
        return false;
    if (id >= verdicts.size()) {
        // A text interned since the search began: decided on the spot.
        return CareSearchQuery::fold(store.text(slot, field.index)).contains(term.text);
    }
    if (verdicts[id] == Unknown) {
        // A folded text is kept with the text it was made from: the original's storage is
        // then never freed and reused, so the same storage proves the same text, even after
        // the table was read again and its numbers handed out anew.
        const QString &text = store.pool(field.index).text(id);
        if (field.originals[id].constData() != text.constData()) {
            field.folded[id] = CareSearchQuery::fold(text);
            field.originals[id] = text;
        }
        verdicts[id] = field.folded[id].contains(term.text) ? Found : NotFound;
    }
    return verdicts[id] == Found;
}
