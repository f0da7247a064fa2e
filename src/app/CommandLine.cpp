#include "CommandLine.h"

#include "platform/core/ProgramVersion.h"

std::optional<int> CommandLine::handle(const QStringList &arguments, QString &out, QString &err)
{
    if (arguments.isEmpty())
        return std::nullopt;
    const QString &first = arguments.front();
    if (arguments.size() == 1 &&
        (first == QLatin1String("--version") || first == QLatin1String("-V"))) {
        out = versionText();
        return 0;
    }
    if (arguments.size() == 1 &&
        (first == QLatin1String("--help") || first == QLatin1String("-h"))) {
        out = helpText();
        return 0;
    }
    err = QStringLiteral("talo : argument non reconnu « %1 ».\n"
                         "Pour la liste des options : talo --help\n")
              .arg(arguments.size() == 1 || first.startsWith(QLatin1Char('-'))
                       ? first
                       : arguments.join(QLatin1Char(' ')));
    return 2;
}

QString CommandLine::versionText()
{
    return ProgramVersion::text() + QLatin1Char('\n');
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Utilisation : talo [--help | --version]\n"
        "\n"
        "Talo 3.0 : registre des frais médicaux du foyer (soins, C.P.A.M. et mutuelle).\n"
        "Sans argument, le programme ouvre sa fenêtre. Ses données sont dans le dossier du\n"
        "programme (celui du fichier talo) ; une copie automatique en est faite à chaque\n"
        "sortie dans son sous-dossier « Sauvegardes ».\n"
        "\n"
        "Options :\n"
        "  --help, -h      affiche cette aide et s'arrête\n"
        "  --version, -V   affiche la version et s'arrête\n");
}

QString CommandLine::noDisplayMessage()
{
    return QStringLiteral(
        "Talo ne peut pas s'ouvrir ici : aucun écran n'est disponible (ni DISPLAY ni "
        "WAYLAND_DISPLAY).\n"
        "Talo est un programme à fenêtres : lancez-le depuis votre session de bureau, par ssh "
        "avec « ssh -X », ou sur un serveur dans un bureau à distance (voir « Sans écran » dans "
        "README.md).\n");
}
