#include "CareAct.h"

#include <QStringList>

namespace
{

struct Words {
    CareAct act;
    const char *words[6];
};

// Pieces without accents of the ways families write these specialities ("Kiné",
// "Kinésithérapeute", "Pédicure-podologue", "Pharmacie", "VSL").
const Words kinds[] = {
    {CareAct::Medicine, {"pharma"}},
    {CareAct::Paramedical, {"kin", "masseur", "infirm", "orthophon", "orthopt", "podolog"}},
    {CareAct::Transport, {"ambulan", "taxi", "transport", "vsl"}},
    {CareAct::Unwithheld, {"dentist", "orthodont", "sage-fem", "sage fem", "maieut"}},
};

QString asciiLower(const QString &text)
{
    QString lower = text;
    for (QChar &c : lower) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    }
    return lower;
}

} // namespace

CareAct CareActs::of(const QString &speciality)
{
    const QString text = asciiLower(speciality);
    for (const Words &k : kinds) {
        for (const char *word : k.words) {
            if (word && text.contains(QLatin1String(word)))
                return k.act;
        }
    }
    return CareAct::Consultation;
}

QString CareActs::sqlOf(const QString &speciality)
{
    // SQLite's lower() folds ASCII letters only, as asciiLower does.
    QStringList whens;
    for (const Words &k : kinds) {
        QStringList tests;
        for (const char *word : k.words) {
            if (word)
                tests.append(QStringLiteral("instr(lower(coalesce(%1, '')), '%2') > 0")
                                 .arg(speciality, QLatin1String(word)));
        }
        whens.append(QStringLiteral("WHEN %1 THEN %2")
                         .arg(tests.join(QStringLiteral(" OR ")))
                         .arg(int(k.act)));
    }
    return QStringLiteral("(CASE %1 ELSE %2 END)")
        .arg(whens.join(QLatin1Char(' ')))
        .arg(int(CareAct::Consultation));
}
