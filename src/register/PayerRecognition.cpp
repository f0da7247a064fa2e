#include "PayerRecognition.h"

#include "LabelWords.h"

#include <QSet>

#include <algorithm>

namespace
{

// Words of many insurers' names: they alone do not name this household's insurer.
const QSet<QString> &genericNameWords()
{
    static const QSet<QString> words = {
        QStringLiteral("MUTUELLE"), QStringLiteral("MUTUELLES"), QStringLiteral("MUT"),
        QStringLiteral("SANTE"),    QStringLiteral("ASSURANCE"), QStringLiteral("ASSURANCES"),
        QStringLiteral("GROUPE"),   QStringLiteral("SA"),        QStringLiteral("SAS"),
        QStringLiteral("DE"),       QStringLiteral("DU"),        QStringLiteral("DES"),
        QStringLiteral("LA"),       QStringLiteral("LE"),        QStringLiteral("LES"),
        QStringLiteral("L"),        QStringLiteral("D"),         QStringLiteral("ET"),
    };
    return words;
}

bool containsPhrase(const QStringList &words, const QStringList &phrase)
{
    for (qsizetype i = 0; i + phrase.size() <= words.size(); ++i) {
        if (std::equal(phrase.begin(), phrase.end(), words.begin() + i))
            return true;
    }
    return false;
}

bool containsAll(const QStringList &words, const QStringList &wanted)
{
    return !wanted.isEmpty() && std::all_of(wanted.begin(), wanted.end(),
                                            [&](const QString &w) { return words.contains(w); });
}

} // namespace

PayerRecognition::PayerRecognition(const QString &mutuelleName, std::vector<LearnedLabel> learned)
    : learned_(std::move(learned))
{
    const QStringList words = LabelWords::of(mutuelleName);
    for (const QString &w : words) {
        if (!genericNameWords().contains(w))
            mutuelleWords_.append(w);
    }
    // A name made only of common words ("Mutuelle") is recognised by them all.
    if (mutuelleWords_.isEmpty())
        mutuelleWords_ = words;
    mutuelleLetters_ = words.join(QString());
}

bool PayerRecognition::namesMutuelle(const QStringList &words) const
{
    if (containsAll(words, mutuelleWords_))
        return true;
    // "HARMONIEMUTUELLE" for "Harmonie Mutuelle": a name too short would be found anywhere.
    return mutuelleLetters_.size() >= 6 && words.join(QString()).contains(mutuelleLetters_);
}

std::optional<AwaitedPayer> PayerRecognition::payerOf(const QString &label) const
{
    const QStringList words = LabelWords::of(label);
    // The person's own word comes first, then the household's insurer, then the usual names.
    for (const LearnedLabel &l : learned_) {
        if (containsAll(words, l.words))
            return l.payer;
    }
    if (namesMutuelle(words))
        return AwaitedPayer::Mutuelle;
    static const QList<QStringList> cpamPhrases = {
        {QStringLiteral("CPAM")},
        {QStringLiteral("CAISSE"), QStringLiteral("PRIMAIRE")},
        {QStringLiteral("ASSURANCE"), QStringLiteral("MALADIE")},
        {QStringLiteral("AMELI")},
    };
    for (const QStringList &phrase : cpamPhrases) {
        if (containsPhrase(words, phrase))
            return AwaitedPayer::Cpam;
    }
    return std::nullopt;
}
