#include "ProofCounts.h"

#include "platform/core/PlatformError.h"
#include "proofs/ProofStore.h"

int ProofCounts::of(qint64 entry)
{
    if (entry <= 0)
        return -1;
    if (!fresh_) {
        try {
            counts_ = store_.countsByEntry();
            readable_ = true;
        } catch (const PlatformError &) {
            counts_.clear();
            readable_ = false;
        }
        fresh_ = true;
    }
    return readable_ ? counts_.value(entry, 0) : -1;
}
