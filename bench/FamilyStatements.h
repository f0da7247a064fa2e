#pragma once

#include "register/AwaitedPayer.h"
#include "register/CareFacts.h"
#include "register/StatementLine.h"

#include <QString>

#include <map>
#include <vector>

// Families' registers and bank statements made the way the payers compute them: the C.P.A.M.
// pays its rate of the base less what the law withholds (per consultation, per box, per
// paramedical act, up to each person's yearly caps; nothing for children), the mutuelle its
// contract's share of the base beyond the C.P.A.M.'s; transfers group the cares a payer handled
// the same day, of several people. The register holds the years paid before the statement; the
// statement holds the payer transfers of its last weeks among other credits, with the entries
// and shares each transfer really paid, so that a matching can be scored as a person would
// have to correct it.
namespace FamilyStatements
{

struct Payment {
    StatementLine line;
    AwaitedPayer payer = AwaitedPayer::Cpam;
    std::map<qint64, qint64> shares; // row id -> cents; none: it pays nothing in the register
};

struct Family {
    QString name, mutuelleName;
    std::vector<CareFacts> entries;
    std::vector<StatementLine> lines; // the statement, payer transfers among other lines
    std::vector<Payment> payments;    // the payer transfers, in the statement's order
};

// The families the bench scores, each from its own seed: children, an elderly parent with a
// long illness paid at 100 %, contracts of 100 % to 200 % of the base, families that type the
// base and families that do not. Each round draws them anew.
std::vector<Family> all(const QDate &statementEnd, int statementDays, int round = 0);

} // namespace FamilyStatements
