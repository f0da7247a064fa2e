// Makes a folder a ready program directory (run by the installation); existing files are kept.
#include "ProgramDirectory.h"

#include "platform/core/PlatformError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    if (argc != 2) {
        err << "usage: talo-provision PROGRAM_DIRECTORY\n";
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    try {
        const QStringList created = ProgramDirectory::provision(directory);
        for (const QString &name : created)
            out << "-- Created: " << directory << "/" << name << "\n";
    } catch (const PlatformError &e) {
        err << e.message() << "\n";
        return 1;
    }
    return 0;
}
