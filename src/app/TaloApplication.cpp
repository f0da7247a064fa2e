#include "TaloApplication.h"

#include "platform/core/Formats.h"
#include "platform/core/PlatformError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Glyphs.h"

#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

TaloApplication::TaloApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // Every window and dialog carries the logo.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(Glyphs::logo(size));
    setWindowIcon(icon);
    // The menu entry's name: docks and task bars group the windows with their launcher.
    setDesktopFileName(QStringLiteral("fr.talo.Talo"));
}

bool TaloApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const PlatformError &e) {
        Dialogs::error(activeWindow(), e.message());
    } catch (const std::exception &e) {
        Dialogs::error(activeWindow(),
                       QStringLiteral("Erreur inattendue : %1").arg(QString::fromUtf8(e.what())));
    }
    return false;
}

void TaloApplication::applyFrenchConventions()
{
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    Formats::applyRegionalSettings();
    // The windows were drawn with these fonts; their metric twins stand in for them.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QApplication::setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
}
