#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>

// A print server of the test's own: cupsd in the foreground with its configuration, queues,
// spool and logs in a folder of the test, listening on a socket there only. Nothing of it
// outlives the test: the queues vanish with the folder, and the server is stopped by stop(),
// by the destructor, or by the kernel when the test process dies (parent-death signal).
// Needs root: cupsd runs its backends as root. Every step returns an empty text on success,
// otherwise what went wrong.
class PrivateCupsServer
{
public:
    ~PrivateCupsServer() { stop(); }

    QString socketPath() const { return folder_ + QStringLiteral("/cups.sock"); }
    QString errorLog() const
    {
        QFile log(folder_ + QStringLiteral("/log/error_log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(4000))
                                             : QStringLiteral("(no error_log)");
    }

    QString start(const QString &folder)
    {
        folder_ = folder;
        const QString cupsd = tool(QStringLiteral("cupsd"));
        if (cupsd.isEmpty())
            return QStringLiteral("cupsd not found (package cups)");
        // The filters run as the unprivileged user lp: it must reach the temporary folder
        // (and the caller must let it through the folders above).
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ExeGroup | QFile::ExeOther);
        const QDir dir(folder_);
        for (const char *sub : {"conf", "spool", "cache", "state", "log", "tmp"}) {
            if (!dir.mkpath(QString::fromLatin1(sub)))
                return QStringLiteral("cannot create %1")
                    .arg(dir.filePath(QString::fromLatin1(sub)));
        }
        if (::chmod(QFile::encodeName(dir.filePath(QStringLiteral("tmp"))).constData(), 01777) != 0)
            return QStringLiteral("cannot open the temporary folder to the filters");
        const QString files = writeConf(QStringLiteral("cups-files.conf"),
                                        QStringLiteral("SystemGroup root\n"
                                                       "ServerRoot %1/conf\n"
                                                       "RequestRoot %1/spool\n"
                                                       "CacheDir %1/cache\n"
                                                       "StateDir %1/state\n"
                                                       "TempDir %1/tmp\n"
                                                       "ErrorLog %1/log/error_log\n"
                                                       "AccessLog %1/log/access_log\n"
                                                       "PageLog %1/log/page_log\n"
                                                       "Printcap %1/printcap\n")
                                            .arg(folder_));
        const QString conf =
            writeConf(QStringLiteral("cupsd.conf"),
                      QStringLiteral("Listen %1\n"
                                     "LogLevel debug\n"
                                     "Browsing Off\n"
                                     "WebInterface No\n"
                                     "DefaultAuthType None\n"
                                     "<Location />\n  Order allow,deny\n  Allow all\n"
                                     "</Location>\n"
                                     "<Policy default>\n  <Limit All>\n"
                                     "    Order deny,allow\n  </Limit>\n"
                                     "</Policy>\n")
                          .arg(socketPath()));
        if (files.isEmpty() || conf.isEmpty())
            return QStringLiteral("cannot write the server's configuration in %1").arg(folder_);

        server_.setProgram(cupsd);
        server_.setArguments(
            {QStringLiteral("-f"), QStringLiteral("-c"), conf, QStringLiteral("-s"), files});
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        server_.start();
        if (!server_.waitForStarted(10000))
            return QStringLiteral("cupsd did not start: %1").arg(server_.errorString());

        // Ready once it answers on its socket.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30000) {
            if (server_.state() != QProcess::Running)
                return QStringLiteral("cupsd stopped at once: %1\n%2")
                    .arg(QString::fromLocal8Bit(server_.readAll()), errorLog());
            if (QFile::exists(socketPath()) &&
                output(QStringLiteral("lpstat"), {QStringLiteral("-r")})
                    .contains(QStringLiteral("scheduler is running")))
                return {};
            QThread::msleep(100);
        }
        return QStringLiteral("cupsd does not answer on %1\n%2").arg(socketPath(), errorLog());
    }

    // A cups-pdf queue, made the server's default destination.
    QString addPdfQueue(const QString &name, const QString &ppd)
    {
        QString failure =
            run(QStringLiteral("lpadmin"),
                {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                 QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), ppd});
        if (failure.isEmpty())
            failure = run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name});
        return failure;
    }

    QString removeQueue(const QString &name)
    {
        return run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
    }

    // The queue refuses new jobs (`accept` false) or takes them again.
    QString acceptJobs(const QString &name, bool accept)
    {
        return run(accept ? QStringLiteral("cupsaccept") : QStringLiteral("cupsreject"), {name});
    }

    // Every job the server knows of, for failure messages.
    QString jobs()
    {
        return output(QStringLiteral("lpstat"),
                      {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o")});
    }

    void stop()
    {
        if (server_.state() == QProcess::NotRunning)
            return;
        server_.terminate();
        if (!server_.waitForFinished(15000)) {
            server_.kill();
            server_.waitForFinished(5000);
        }
    }

    bool isRunning() const { return server_.state() != QProcess::NotRunning; }

    // Administration tools live in sbin, which a test's PATH may lack.
    static QString tool(const QString &name)
    {
        return QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"), QStringLiteral("/sbin"),
                   QStringLiteral("/bin")});
    }

private:
    QString writeConf(const QString &name, const QString &text)
    {
        const QString path = folder_ + QStringLiteral("/conf/") + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
            return {};
        return path;
    }

    // What a CUPS client tool run against this server prints.
    QString output(const QString &name, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tool(name), QStringList{QStringLiteral("-h"), socketPath()} + arguments);
        process.waitForFinished(10000);
        return QString::fromLocal8Bit(process.readAll());
    }

    // Runs a CUPS client tool against this server only.
    QString run(const QString &name, QStringList arguments)
    {
        const QString program = tool(name);
        if (program.isEmpty())
            return QStringLiteral("%1 not found").arg(name);
        arguments.prepend(socketPath());
        arguments.prepend(QStringLiteral("-h"));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return QStringLiteral("%1 %2 failed: %3")
                .arg(name, arguments.join(QLatin1Char(' ')),
                     QString::fromLocal8Bit(process.readAll()));
        return {};
    }

    QString folder_;
    QProcess server_;
};
