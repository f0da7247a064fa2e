#include "ProgramVersion.h"

QString ProgramVersion::number()
{
    return QStringLiteral(TALO_VERSION);
}

QString ProgramVersion::text()
{
    return QStringLiteral("Talo ") + number();
}
