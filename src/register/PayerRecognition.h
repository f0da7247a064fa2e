#pragma once

#include "AwaitedPayer.h"

#include <QStringList>

#include <optional>
#include <vector>

// A label the person once said was a payer's, kept as its distinctive words (LabelWords).
struct LearnedLabel {
    QStringList words;
    AwaitedPayer payer = AwaitedPayer::Mutuelle;
};

// Tells which payer a bank credit comes from by its label: a label the person marked before,
// the mutual insurer's name as stored in the insurance details, or the national insurance's
// usual names ("CPAM", "CAISSE PRIMAIRE", "ASSURANCE MALADIE", "AMELI").
class PayerRecognition
{
public:
    explicit PayerRecognition(const QString &mutuelleName, std::vector<LearnedLabel> learned = {});

    // Cpam, Mutuelle, or nothing for a credit from anyone else.
    std::optional<AwaitedPayer> payerOf(const QString &label) const;

private:
    bool namesMutuelle(const QStringList &words) const;

    QStringList mutuelleWords_; // the name's own words, without "MUTUELLE", "SANTE"...
    QString mutuelleLetters_;   // the name's letters run together ("HARMONIEMUTUELLE")
    std::vector<LearnedLabel> learned_;
};
