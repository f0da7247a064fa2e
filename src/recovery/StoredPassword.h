#pragma once

#include <QString>

// The start-up password as talo.ini holds it: a hash (the current form), or the plain text an
// earlier version wrote, or nothing. When both are there the hash is the one in force.
class StoredPassword
{
public:
    StoredPassword() = default;
    static StoredPassword hashed(const QString &hash) { return {hash, QString()}; }
    static StoredPassword plain(const QString &text) { return {QString(), text}; }
    static StoredPassword of(const QString &hash, const QString &text) { return {hash, text}; }

    bool isSet() const { return !hash_.isEmpty() || !plain_.isEmpty(); }
    // Kept by an earlier version in clear: to be replaced by its hash.
    bool isPlain() const { return hash_.isEmpty() && !plain_.isEmpty(); }
    // Exactly, character for character and case-sensitive: nothing is trimmed or folded.
    bool matches(const QString &typed) const;

private:
    StoredPassword(QString hash, QString plain) : hash_(std::move(hash)), plain_(std::move(plain))
    {
    }

    QString hash_;
    QString plain_;
};
