#pragma once

#include "platform/core/PlatformError.h"

// An error raised by the table store (open, post, delete, field conversion, copy).
class DatabaseError : public PlatformError
{
public:
    using PlatformError::PlatformError;
};
