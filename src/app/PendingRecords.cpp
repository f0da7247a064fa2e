#include "PendingRecords.h"

#include "platform/core/PlatformError.h"
#include "platform/store/Table.h"
#include "platform/widgets/HandlerGuard.h"

bool PendingRecords::post(QWidget *parent, const QList<Pending> &tables)
{
    for (const Pending &pending : tables) {
        if (!pending.table->isActive())
            continue;
        const bool posted = HandlerGuard::run(parent, [&] {
            try {
                pending.table->checkBrowseMode();
            } catch (const PlatformError &e) {
                if (pending.place.isEmpty())
                    throw;
                throw PlatformError(QStringLiteral("%1\n\n%2").arg(pending.place, e.message()));
            }
        });
        if (!posted)
            return false;
    }
    return true;
}

QString PendingRecords::doctorPlace()
{
    return QStringLiteral("Le médecin en cours de saisie dans le carnet d'adresses médicales n'a "
                          "pas pu être enregistré :");
}

QString PendingRecords::insuredPlace()
{
    return QStringLiteral("L'assuré en cours de saisie dans les informations générales n'a pas "
                          "pu être enregistré :");
}
