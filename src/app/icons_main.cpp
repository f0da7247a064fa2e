// Writes the program's icon, drawn from its logo, as PNG files of the desktop's icon theme
// sizes: <folder>/<N>x<N>/apps/<name>.png.
#include "platform/widgets/Glyphs.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    // No display is needed to draw into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("Utilisation : talo-icons DOSSIER NOM\n", stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString path =
            root.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!root.mkpath(folder) || !Glyphs::logo(size).save(path, "PNG")) {
            std::fprintf(stderr, "talo-icons : impossible d'écrire %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
