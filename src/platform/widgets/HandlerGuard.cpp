#include "HandlerGuard.h"

#include "Dialogs.h"
#include "platform/core/PlatformError.h"

#include <QString>
#include <exception>

bool HandlerGuard::run(QWidget *parent, const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const PlatformError &e) {
        Dialogs::error(parent, e.message());
    } catch (const std::exception &e) {
        Dialogs::error(parent,
                       QStringLiteral("Erreur inattendue : %1").arg(QString::fromUtf8(e.what())));
    }
    return false;
}
