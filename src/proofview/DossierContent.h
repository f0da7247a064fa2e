#pragma once

#include "register/CareFacts.h"

#include <QString>
#include <QStringList>

#include <vector>

// What a file for the mutuelle holds: who sends it, to whom, and the cares with their proofs,
// in the order they are to be read.
struct DossierContent {
    struct Proof {
        QString path; // the stored file
        QString name; // the name the person gave it
    };
    struct Care {
        CareFacts facts;
        std::vector<Proof> proofs;
    };

    // One line per insured person ("MARTIN Paul, n° 1 85 ..."), the member first.
    QStringList insured;
    // The five values of the mutuelle's details, in their file's order (name, address, telephone,
    // member number, payment mode).
    QStringList mutual;
    std::vector<Care> cares;

    int proofCount() const;
};
