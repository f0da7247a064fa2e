#pragma once

#include "platform/core/PlatformError.h"

// A conversion that cannot go on, with the French reason shown to the user.
class ConversionError : public PlatformError
{
public:
    using PlatformError::PlatformError;
};
