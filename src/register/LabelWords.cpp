#include "LabelWords.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace
{

// Words every transfer label may carry, whoever pays.
const QSet<QString> &transferWords()
{
    static const QSet<QString> words = {
        QStringLiteral("VIR"),
        QStringLiteral("VIREMENT"),
        QStringLiteral("SEPA"),
        QStringLiteral("RECU"),
        QStringLiteral("EMIS"),
        QStringLiteral("INST"),
        QStringLiteral("DE"),
        QStringLiteral("DU"),
        QStringLiteral("DES"),
        QStringLiteral("LA"),
        QStringLiteral("LE"),
        QStringLiteral("LES"),
        QStringLiteral("ET"),
        QStringLiteral("REF"),
        QStringLiteral("REFERENCE"),
        QStringLiteral("MOTIF"),
        QStringLiteral("REMB"),
        QStringLiteral("REMBT"),
        QStringLiteral("REMBOURSEMENT"),
        QStringLiteral("REMBOURSEMENTS"),
        QStringLiteral("PAIEMENT"),
        QStringLiteral("FAVEUR"),
        QStringLiteral("POUR"),
        QStringLiteral("PAR"),
        QStringLiteral("ORDRE"),
        QStringLiteral("DONNEUR"),
        QStringLiteral("CREDIT"),
        QStringLiteral("PRESTATIONS"),
        QStringLiteral("PRESTATION"),
    };
    return words;
}

} // namespace

QStringList LabelWords::of(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        plain.append(c.isLetter() ? c.toUpper() : QLatin1Char(' '));
    }
    // Initials written apart ("C.P.A.M.", "C P A M") make one word.
    QStringList words;
    bool lastWasInitial = false;
    for (const QString &word : plain.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool initial = word.size() == 1;
        if (initial && lastWasInitial)
            words.last().append(word);
        else
            words.append(word);
        lastWasInitial = initial;
    }
    return words;
}

QStringList LabelWords::distinctive(const QString &label)
{
    // Digits are blanks to of(): a reference such as "XK3F9" would leave "XK" and "F", so
    // words are taken from the label split on blanks first and those holding a digit dropped.
    QStringList kept;
    for (const QString &raw :
         label.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        if (std::any_of(raw.begin(), raw.end(), [](QChar c) { return c.isDigit(); }))
            continue;
        for (const QString &word : of(raw)) {
            if (word.size() > 1 && !transferWords().contains(word) && !kept.contains(word))
                kept.append(word);
        }
    }
    return kept;
}

QString LabelWords::comparable(const QString &label)
{
    return label.simplified().toUpper();
}
