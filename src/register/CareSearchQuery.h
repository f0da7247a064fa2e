#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// What a person types to find care entries, read as words: an entry is found when it matches
// every word. A word matches as a piece of text (beneficiary, doctor, speciality, payment,
// notes; case and accents ignored, "eleve" finds "Élève"), and when it can also be read so,
// as an amount equal to one of the entry's money fields ("12,5" finds 12,50 €), as a care
// date ("12/03/24", "12/03/2024") or as a care period ("03/2024", "2024").
class CareSearchQuery
{
public:
    struct Term {
        QString text;                // folded, as the searched texts are
        std::optional<qint64> cents; // read as an amount
        QDate from, to;              // read as a date or a period (both ends included)
    };

    static CareSearchQuery parse(const QString &typed);

    bool isEmpty() const { return terms_.empty(); }
    const std::vector<Term> &terms() const { return terms_; }

    // Case and accents taken away the way the search compares texts ("Œil" → "oeil",
    // the typographic apostrophe as the plain one).
    static QString fold(const QString &text);

private:
    std::vector<Term> terms_;
};
