#include "CpamRulesSql.h"

#include "CpamRules.h"

#include <QStringList>

#include <functional>

namespace
{

constexpr CareAct acts[] = {CareAct::Consultation, CareAct::Paramedical, CareAct::Medicine,
                            CareAct::Transport};

// Kept as a step of its own, each column worked out once per row: SQLite would otherwise
// flatten the steps and copy every expression into each place a later step names it, and the
// rates' tests name the unit and the base many times over.
QString computedOnce(const QString &select)
{
    return select + QStringLiteral(" LIMIT -1 OFFSET 0");
}

QString overActs(const QString &act, const std::function<QString(CareAct)> &of)
{
    QString cases;
    for (CareAct a : acts)
        cases += QStringLiteral(" WHEN %1 THEN %2").arg(int(a)).arg(of(a));
    return QStringLiteral("(CASE %1%2 ELSE 0 END)").arg(act, cases);
}

} // namespace

QString CpamRulesSql::unit(const QString &act, const QString &care)
{
    return overActs(act, [&care](CareAct a) {
        // The latest step first; a NULL date passes none of them.
        QString steps;
        const auto all = CpamRules::unitSteps(a);
        for (auto step = all.rbegin(); step != all.rend(); ++step)
            steps += QStringLiteral(" WHEN %1 >= '%2' THEN %3")
                         .arg(care, step->from.toString(Qt::ISODate))
                         .arg(step->cents);
        return QStringLiteral("(CASE%1 ELSE 0 END)").arg(steps);
    });
}

QString CpamRulesSql::withheldIn(const QString &source, const QString &kept)
{
    const QString most = overActs(QStringLiteral("act"), [](CareAct a) {
        const int perDay = CpamRules::unitsPerDay(a);
        return perDay ? QStringLiteral("u * %1").arg(perDay)
                      : QString::number(CpamRules::YearlyCap);
    });
    // What each usual rate of the base leaves above the share paid.
    QStringList gaps, zero, fits;
    const auto rates = CpamRules::usualRates();
    for (size_t i = 0; i < rates.size(); ++i) {
        const QString x = QStringLiteral("x%1").arg(i);
        gaps << QStringLiteral("(wb * %1 + 50) / 100 - paid AS %2").arg(rates[i]).arg(x);
        zero << QStringLiteral("%1 = 0").arg(x);
        // A gap that is no whole number of units within the limit counts past it.
        fits << QStringLiteral("CASE WHEN %1 > 0 AND %1 % u = 0 AND %1 <= most THEN %1 ELSE "
                               "most + 1 END")
                    .arg(x);
    }
    const QString unitsAndGaps =
        QStringLiteral("SELECT %1, written, paid, room, u, wb, %2 AS most, %3 FROM (SELECT %1, "
                       "act, written, paid, room, %4 AS u, CASE WHEN base > 0 THEN base ELSE "
                       "cost END AS wb FROM (%5))")
            .arg(kept, most, gaps.join(QStringLiteral(", ")),
                 unit(QStringLiteral("act"), QStringLiteral("care")), computedOnce(source));
    const QString smallest =
        QStringLiteral("SELECT %1, written, paid, room, u, wb, most, %2 AS z, min(%3) AS f FROM "
                       "(%4)")
            .arg(kept, zero.join(QStringLiteral(" OR ")), fits.join(QStringLiteral(", ")),
                 computedOnce(unitsAndGaps));
    return QStringLiteral("SELECT %1, CASE WHEN coalesce(written, 0) AND u > 0 AND paid > 0 AND "
                          "wb > 0 AND wb <= %2 AND room > 0 AND NOT z AND f <= most THEN min(f, "
                          "room) ELSE 0 END AS w FROM (%3)")
        .arg(kept, QString::number(CpamRules::LargestBase), computedOnce(smallest));
}
