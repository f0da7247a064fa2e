#pragma once

#include <QString>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <type_traits>

class QComboBox;
class QElapsedTimer;

// What the benchmarks of the program as the user meets it share: a timer read in milliseconds,
// a pick in a selector, and a run in a fresh process.
class BenchMeasure
{
public:
    static double millis(const QElapsedTimer &timer);
    // Picks an item of a selector as a click in its list does, then lets the window repaint;
    // the milliseconds it took.
    static double choose(QComboBox &combo, const QString &text);

    // Runs `measure` in a forked child, so that each run starts the program as a new process
    // does, and returns its figures; `failed` when the child gives none (it crashed, or threw),
    // with a line naming `what` on the error output.
    template <typename Measure, typename Figures>
    static Figures inChild(Measure measure, const Figures &failed, const QString &what)
    {
        static_assert(std::is_trivially_copyable_v<Figures>, "figures cross a pipe as bytes");
        Figures figures = failed;
        const bool given = runInChild([&](void *out) { *static_cast<Figures *>(out) = measure(); },
                                      &figures, sizeof figures);
        if (!given) {
            std::fprintf(stderr, "%s: no figures\n", qPrintable(what));
            return failed;
        }
        return figures;
    }

private:
    // The child fills `figures` (its own copy) and sends its `size` bytes back; false, and
    // `figures` untouched, when fewer arrive.
    static bool runInChild(const std::function<void(void *)> &measure, void *figures,
                           std::size_t size);
};
