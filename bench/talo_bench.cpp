// Measures the register over large tables: open with the first totals, totals, a filter switch,
// one post, one batch copy and peak memory, each also as a ratio to a plain summing loop over
// the same number of rows in memory. Every size runs in a child process so that its peak
// memory is its own.
#include "BenchRegister.h"

#include <QCoreApplication>
#include <QTextStream>

#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QList<int> sizes{10'000, 100'000, 1'000'000};
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty()) {
        sizes.clear();
        for (const QString &a : args)
            sizes.append(a.toInt());
    }
    BenchRegister::printHeader();
    for (int size : sizes) {
        fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            BenchRegister::run(size);
            fflush(stdout);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            QTextStream(stderr) << "size " << size << " failed\n";
    }
    return 0;
}
