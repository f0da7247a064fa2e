#include "DBComboBox.h"

#include "platform/store/Field.h"
#include "platform/store/Table.h"

#include <QKeyEvent>
#include <QWheelEvent>

DBComboBox::DBComboBox(QWidget *parent)
    : QComboBox(parent), link_(this, {[this] { showFieldValue(); }, {}, {}})
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, &DBComboBox::chosen);
}

DBComboBox::~DBComboBox() = default;

void DBComboBox::setItems(const QStringList &items)
{
    clear();
    addItems(items);
    showFieldValue();
}

void DBComboBox::bind(Table &table, const QString &fieldName)
{
    link_.bind(table, fieldName, FieldLink::Pending::Nothing);
}

void DBComboBox::showFieldValue()
{
    const Field *f = link_.field();
    int index = -1;
    if (f && !f->isNull()) {
        const QString value = f->asString();
        for (int i = 0; i < count() && index < 0; ++i) {
            if (itemText(i) == value)
                index = i;
        }
    }
    setCurrentIndex(index);
}

void DBComboBox::chosen(int index)
{
    if (index < 0 || !link_.isBound())
        return;
    const QString item = itemText(index);
    // Choosing the item already there changes nothing: the record stays as it is.
    if (link_.field()->holds(item))
        return;
    link_.writeNow([&item](Field &f) { f.setAsString(item); });
}

void DBComboBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        // Alt+Down still opens the list.
        if (!(event->modifiers() & Qt::AltModifier)) {
            event->ignore();
            return;
        }
        break;
    default:
        break;
    }
    QComboBox::keyPressEvent(event);
}

void DBComboBox::wheelEvent(QWheelEvent *event)
{
    // Scrolling the window over the list must not change the record.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}
