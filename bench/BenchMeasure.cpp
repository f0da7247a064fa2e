#include "BenchMeasure.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstring>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

double BenchMeasure::millis(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double BenchMeasure::choose(QComboBox &combo, const QString &text)
{
    QElapsedTimer timer;
    timer.start();
    const int index = combo.findText(text);
    combo.setCurrentIndex(index);
    Q_EMIT combo.activated(index);
    QCoreApplication::processEvents();
    return millis(timer);
}

bool BenchMeasure::runInChild(const std::function<void(void *)> &measure, void *figures,
                              std::size_t size)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (child == 0) {
        close(fds[0]);
        // An exception must not climb back into the parent's loop, now running twice.
        try {
            measure(figures);
        } catch (...) {
            _exit(1);
        }
        const bool sent = write(fds[1], figures, size) == ssize_t(size);
        _exit(sent ? 0 : 1);
    }
    close(fds[1]);
    std::vector<char> received(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = read(fds[0], received.data() + got, size - got);
        if (n <= 0)
            break;
        got += std::size_t(n);
    }
    close(fds[0]);
    waitpid(child, nullptr, 0);
    if (got != size)
        return false;
    std::memcpy(figures, received.data(), size);
    return true;
}
