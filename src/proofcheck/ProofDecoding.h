#pragma once

#include "proofs/ProofKind.h"

#include <QString>

// Whether a proof can really be read, in this process: an image's dimensions are read from
// its header first and a picture too large to be a scanned paper is refused without being
// decoded (an image bomb), then the image is decoded under an allocation limit; a PDF is
// opened with Qt PDF and must have a page. Returns the French reason, empty when readable.
// Run in the child process of ProofReadProcess: a decoder that crashes ends only that one.
namespace ProofDecoding
{

// More pixels than this (about 20,000 × 20,000) is no paper scanned or photographed.
inline constexpr qint64 maxPixels = 400LL * 1000 * 1000;

QString problem(const QString &path, ProofKind kind);

} // namespace ProofDecoding
