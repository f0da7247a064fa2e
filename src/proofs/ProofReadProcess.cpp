#include "ProofReadProcess.h"

#include "platform/core/ChildReading.h"

namespace
{

int timeLimit = 30000;

QString kindArgument(ProofKind kind)
{
    return ProofKinds::extension(kind).mid(1);
}

QString readingFailed()
{
    return QStringLiteral("sa lecture a échoué (le fichier est peut-être abîmé ou piégé).");
}

} // namespace

void ProofReadProcess::setTimeLimitForTesting(int milliseconds)
{
    timeLimit = milliseconds;
}

ProofCheck ProofReadProcess::check(const QString &program)
{
    return [program](const QString &path, ProofKind kind) -> QString {
        ChildReading child({argument(), kindArgument(kind), path}, QByteArray(), program);
        switch (child.wait({timeLimit, -1}, {}, {})) {
        case ChildReading::End::NotStarted:
            return QStringLiteral("le programme de vérification n'a pas pu démarrer.");
        case ChildReading::End::OverTime:
            return QStringLiteral("sa lecture ne s'est pas terminée (le fichier est peut-être "
                                  "piégé).");
        case ChildReading::End::Finished:
            break;
        default:
            return readingFailed();
        }
        const QByteArray answer = child.process().readAllStandardOutput().trimmed();
        const int code = child.process().exitCode();
        if (code == 0 && answer == readableAnswer())
            return QString();
        if (code == 1 && !answer.isEmpty() && answer != readableAnswer())
            return QString::fromUtf8(answer);
        return readingFailed();
    };
}
