#pragma once

// pxlib's header declares a C library without saying so to a C++ compiler.
extern "C" {
#include <paradox.h>
}
