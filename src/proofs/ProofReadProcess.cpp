#include "ProofReadProcess.h"

#include <QCoreApplication>
#include <QProcess>

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
        QProcess child;
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start(program.isEmpty() ? QCoreApplication::applicationFilePath() : program,
                    {argument(), kindArgument(kind), path});
        if (!child.waitForStarted(timeLimit))
            return QStringLiteral("le programme de vérification n'a pas pu démarrer.");
        if (!child.waitForFinished(timeLimit)) {
            child.kill();
            child.waitForFinished(5000);
            return QStringLiteral("sa lecture ne s'est pas terminée (le fichier est peut-être "
                                  "piégé).");
        }
        if (child.exitStatus() != QProcess::NormalExit)
            return readingFailed();
        const QByteArray answer = child.readAllStandardOutput().trimmed();
        if (child.exitCode() == 0 && answer == readableAnswer())
            return QString();
        if (child.exitCode() == 1 && !answer.isEmpty() && answer != readableAnswer())
            return QString::fromUtf8(answer);
        return readingFailed();
    };
}
