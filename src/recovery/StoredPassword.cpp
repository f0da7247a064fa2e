#include "StoredPassword.h"

#include "PasswordHash.h"

bool StoredPassword::matches(const QString &typed) const
{
    if (!hash_.isEmpty())
        return PasswordHash::matches(hash_, typed);
    return !plain_.isEmpty() && typed == plain_;
}
