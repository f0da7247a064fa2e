#include "TaloMain.h"

#include "CommandLine.h"
#include "DataCommands.h"
#include "Startup.h"
#include "TaloApplication.h"

#include "conversion/ParadoxReadService.h"
#include "proofcheck/ProofReadService.h"
#include "statements/OfxReadService.h"

#include "platform/core/FileNames.h"

#include <QFile>

#include <cstdio>

#include <unistd.h>

int TaloMain::run(int argc, char *argv[])
{
    // A Paradox table read for the conversion, in a process of its own.
    if (const std::optional<int> status = ParadoxReadService::serveIfAsked(argc, argv))
        return *status;
    // A bank statement's OFX read, in a process of its own.
    if (const std::optional<int> status = OfxReadService::serveIfAsked(argc, argv))
        return *status;
    // A proof's content checked before it is kept, in a process of its own.
    if (const std::optional<int> status = ProofReadService::serveIfAsked(argc, argv))
        return *status;
    // Before anything that needs a display.
    {
        QStringList arguments;
        for (int i = 1; i < argc; ++i)
            arguments.append(QString::fromLocal8Bit(argv[i]));
        QString out, err;
        if (const std::optional<int> status = CommandLine::handle(arguments, out, err)) {
            std::fputs(out.toLocal8Bit().constData(), stdout);
            std::fputs(err.toLocal8Bit().constData(), stderr);
            return *status;
        }
    }

    // Without a display the toolkit would abort in English; say in French what to do instead.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        (platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland"))) {
        std::fputs(CommandLine::noDisplayMessage().toLocal8Bit().constData(), stderr);
        return 2;
    }

    QByteArray program;
    int status = 0;
    {
        TaloApplication app(argc, argv);
        TaloApplication::applyFrenchConventions();
        const QString programDir = FileNames::programDirectory();
        program = QFile::encodeName(QCoreApplication::applicationFilePath());
        {
            Startup startup(programDir);
            if (!startup.run())
                return 0;
            status = app.exec();
        }
        // The windows and their tables are closed: a confirmed restore can take their place.
        if (!DataCommands::finishPendingRestore(programDir))
            return status;
    }
    char *const restartArgv[] = {program.data(), nullptr};
    ::execv(program.constData(), restartArgv);
    std::perror("talo");
    return 1;
}
