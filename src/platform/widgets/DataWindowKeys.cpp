#include "DataWindowKeys.h"

#include "KeyPreview.h"
#include "platform/store/Table.h"

#include <QKeyEvent>
#include <QWidget>

DataWindowKeys::DataWindowKeys(QWidget *window, Rules rules)
    : QObject(window), rules_(std::move(rules))
{
    // A child of the window, like this object: both go with it.
    new KeyPreview(window,
                   [this](QWidget *focused, QKeyEvent *event) { return keyDown(focused, event); });
}

bool DataWindowKeys::keyDown(QWidget *focused, QKeyEvent *event)
{
    Table &table = *rules_.table;
    const bool open = table.isActive();
    const bool endsHere = rules_.window == Window::Dialog;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        enter(focused);
        return true; // the Enter character itself reaches no control
    case Qt::Key_Escape:
        if (open)
            table.cancel();
        return endsHere;
    case Qt::Key_Insert:
        if (open) {
            table.append();
            if (rules_.caretForInsert)
                rules_.caretForInsert();
        }
        return endsHere;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The grid moves the row itself; moving here too would skip one.
        if (open && focused != rules_.grid) {
            if (event->key() == Qt::Key_Up)
                table.prior();
            else
                table.next();
        }
        return false;
    case Qt::Key_F1:
        return rules_.help && rules_.help(focused);
    default:
        return false;
    }
}

bool DataWindowKeys::enter(QWidget *focused)
{
    if (rules_.postsOnEnter && rules_.postsOnEnter(focused)) {
        if (!rules_.table->isActive())
            return false;
        rules_.table->edit();
        rules_.table->post();
        if (rules_.afterPost)
            rules_.afterPost();
        return true;
    }
    if (rules_.enterElsewhere && rules_.enterElsewhere(focused))
        return true;
    if (rules_.movesOnEnter && rules_.movesOnEnter(focused)) {
        rules_.focusNext();
        return true;
    }
    return false;
}
