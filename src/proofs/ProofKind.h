#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The kinds of files kept as proofs, told by their content, never by their name.
enum class ProofKind { Pdf, Jpeg, Png };

namespace ProofKinds
{
// The kind whose signature `head` (the file's first bytes) and `tail` (its last 1024 bytes)
// carry: a PDF starts with "%PDF-" and ends with "%%EOF" (followed by blanks at most); a JPEG
// starts with FF D8 FF and ends with FF D9; a PNG starts with its eight-byte signature.
std::optional<ProofKind> of(const QByteArray &head, const QByteArray &tail);
// The stored file's extension, with its dot.
QString extension(ProofKind kind);
// "document PDF", "image JPEG", "image PNG".
QString text(ProofKind kind);
} // namespace ProofKinds
