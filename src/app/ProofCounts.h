#pragma once

#include <QHash>

class ProofStore;

// The number of proofs of each entry, read in one query when first asked after forget() (the
// view changed, the rows were read again, proofs were attached or removed) and then looked up:
// moving from entry to entry reads nothing.
class ProofCounts
{
public:
    explicit ProofCounts(ProofStore &store) : store_(store) {}

    // The count of `entry` (0 when it has none); -1 for no entry, or when the links cannot be
    // read.
    int of(qint64 entry);
    void forget() { fresh_ = false; }

private:
    ProofStore &store_;
    QHash<qint64, int> counts_;
    bool fresh_ = false;
    bool readable_ = true;
};
