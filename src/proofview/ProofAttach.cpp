#include "ProofAttach.h"

#include "ProofViewMessages.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/Dialogs.h"
#include "proofs/ProofStore.h"

#include <QDir>
#include <QFileDialog>

QStringList ProofAttach::chooseFiles(QWidget *parent)
{
    // The toolkit's own dialog: the same on every desktop, and driven by the keyboard alike.
    return QFileDialog::getOpenFileNames(parent, QStringLiteral(" Joindre des pièces"),
                                         QDir::homePath(), ProofViewMessages::fileFilter(), nullptr,
                                         QFileDialog::DontUseNativeDialog);
}

bool ProofAttach::attach(QWidget *parent, ProofStore &store, qint64 entryNumber,
                         const QStringList &files)
{
    if (files.isEmpty())
        return false;
    if (entryNumber <= 0) {
        Dialogs::warning(parent, ProofViewMessages::noEntry());
        return false;
    }
    try {
        CursorOverride wait(Qt::WaitCursor);
        store.attach(entryNumber, files);
        return true;
    } catch (const PlatformError &e) {
        Dialogs::error(parent, e.message());
        return false;
    }
}
