#pragma once

#include "PlatformError.h"

// A text typed or read that is not a value of its kind (date, amount, number); the message says
// which text and why.
class ParseError : public PlatformError
{
public:
    using PlatformError::PlatformError;
};
