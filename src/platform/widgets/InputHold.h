#pragma once

#include <QObject>

#include <functional>

class QWidget;

// While it lives, the person's keys, clicks and shortcuts reach only the window `allowed`
// (a progress bar, before it even shows): no command starts under a long piece of work, not
// from a second click queued behind the first, a key held down or a menu shortcut. Échap in
// that window calls `escape`, as its "Annuler" would.
class InputHold : public QObject
{
public:
    InputHold(QWidget *allowed, std::function<void()> escape);
    ~InputHold() override;
    InputHold(const InputHold &) = delete;
    InputHold &operator=(const InputHold &) = delete;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *allowed_;
    std::function<void()> escape_;
};
