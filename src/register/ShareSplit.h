#pragma once

#include "SharePrediction.h"

#include <vector>

// Splits a payment over entries whose predicted shares do not add up to it exactly: each share
// starts from the expected amount and takes part of the difference in proportion to the room
// its range leaves, to the cent, so that the shares always add up to the payment.
namespace ShareSplit
{
std::vector<qint64> spread(qint64 payment, const std::vector<SharePrediction> &predictions);
// The same from given starting shares, with the weights the difference is shared by.
std::vector<qint64> spread(qint64 payment, const std::vector<qint64> &start,
                           const std::vector<qint64> &weights);
// After the person changed share `fixed`, the others take the difference so that the total
// stays the payment (in proportion to their own amounts); the changed share is kept as typed.
std::vector<qint64> rebalance(qint64 payment, std::vector<qint64> shares, size_t fixed);
} // namespace ShareSplit
