#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;
class Table;

// The keys of every data window, written once. Enter moves to the next field, and on the
// window's last field writes the row; Escape cancels the row; Insert starts a new row with the
// caret where the window wants it; Up and Down browse the rows from any field (the grid moves
// on its own arrows). Each window says only what differs, in its Rules.
class DataWindowKeys : public QObject
{
    Q_OBJECT

public:
    // In a dialog, Escape and Insert end at the window (Escape would close it); in the main
    // window they go on to the control as well (a grid cell editor closes on Escape).
    enum class Window { Main, Dialog };

    struct Rules {
        Table *table = nullptr;
        QWidget *grid = nullptr;
        Window window = Window::Dialog;
        // Enter on this field writes the row, then afterPost places the caret.
        std::function<bool(const QWidget *)> postsOnEnter;
        std::function<void()> afterPost;
        // The fields that Enter leaves for the next one, and the window's move to the next
        // field (QWidget::focusNextChild, which only the window itself may call).
        std::function<bool(const QWidget *)> movesOnEnter;
        std::function<void()> focusNext;
        // Enter on a field with a destination of its own; returns whether it handled it.
        std::function<bool(QWidget *)> enterElsewhere;
        // Where the caret goes in a new row.
        std::function<void()> caretForInsert;
        // F1; returns whether it showed help.
        std::function<bool(QWidget *)> help;
    };

    DataWindowKeys(QWidget *window, Rules rules);

private:
    bool keyDown(QWidget *focused, QKeyEvent *event);
    bool enter(QWidget *focused);

    Rules rules_;
};
