#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

// Lets a window see every key pressed in it before the focused control does (the windows'
// FormKeyDown/FormKeyPress): the handler gets the focused widget and the key; returning true
// consumes the key, false lets it go on to the control.
class KeyPreview : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<bool(QWidget *focused, QKeyEvent *event)>;

    KeyPreview(QWidget *window, Handler handler);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
    Handler handler_;
};
