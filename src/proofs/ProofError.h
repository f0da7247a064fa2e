#pragma once

#include "platform/core/PlatformError.h"

// A proof refused or a proof operation that failed, with the French reason naming the file.
class ProofError : public PlatformError
{
public:
    using PlatformError::PlatformError;
};
