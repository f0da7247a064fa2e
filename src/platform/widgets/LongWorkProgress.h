#pragma once

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// The progress bar of work that may last more than a second: shown only once it has lasted
// that long, modal on the window that started the work (the whole program without one), with
// "Annuler" only where the work can stop without losing anything. The work reports how far it
// is from the thread that runs the window; each report also keeps the window alive.
class LongWorkProgress
{
public:
    enum class Cancel { Offered, NotOffered };

    LongWorkProgress(QWidget *parent, const QString &title, const QString &label, Cancel cancel);
    ~LongWorkProgress();
    LongWorkProgress(const LongWorkProgress &) = delete;
    LongWorkProgress &operator=(const LongWorkProgress &) = delete;

    // `done` of `total` (any unit); false once the person has asked to stop.
    bool report(qint64 done, qint64 total);
    bool cancelRequested() const;
    // From here on the work cannot stop without harm: "Annuler" goes, a request made before
    // is no longer heeded.
    void withdrawCancel();
    void setLabel(const QString &label);

    static constexpr int ShowAfterMs = 1000;

private:
    std::unique_ptr<QProgressDialog> dialog_;
    bool cancelOffered_;
    QElapsedTimer sinceEvents_;
};
