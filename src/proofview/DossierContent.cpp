#include "DossierContent.h"

int DossierContent::proofCount() const
{
    int count = 0;
    for (const Care &care : cares)
        count += int(care.proofs.size());
    return count;
}
