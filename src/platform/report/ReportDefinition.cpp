#include "ReportDefinition.h"

const ReportBand *ReportDefinition::band(ReportBand::Type type) const
{
    for (const ReportBand &b : bands) {
        if (b.type == type)
            return &b;
    }
    return nullptr;
}
