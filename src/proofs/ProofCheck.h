#pragma once

#include "ProofKind.h"

#include <QString>

#include <functional>

// Whether a file of a known kind can really be read (a PDF opened, an image's size read
// without decoding more than it may): the French reason it cannot, empty when it can. The
// decoders need more than this layer links, so the program supplies it (ProofReadProcess runs
// them in a child process); without one, only the signatures, the size and the file's nature
// are checked.
using ProofCheck = std::function<QString(const QString &path, ProofKind kind)>;
