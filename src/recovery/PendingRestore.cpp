#include "PendingRestore.h"

#include "RestoreCandidate.h"

namespace
{

std::unique_ptr<RestoreCandidate> &pending()
{
    static std::unique_ptr<RestoreCandidate> candidate;
    return candidate;
}

} // namespace

void PendingRestore::set(std::unique_ptr<RestoreCandidate> candidate)
{
    pending() = std::move(candidate);
}

std::unique_ptr<RestoreCandidate> PendingRestore::take()
{
    return std::move(pending());
}

bool PendingRestore::isSet()
{
    return pending() != nullptr;
}
