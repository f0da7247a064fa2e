#include "DBComboBox.h"

#include "platform/store/Field.h"
#include "platform/store/Table.h"

#include <QKeyEvent>
#include <QWheelEvent>

DBComboBox::DBComboBox(QWidget *parent)
    : QComboBox(parent), m_link(this, {[this] { showFieldValue(); }, {}, {}})
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
    m_link.bind(table, fieldName, FieldLink::Pending::Nothing);
}

void DBComboBox::showFieldValue()
{
    const Field *f = m_link.field();
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
    if (index < 0 || !m_link.isBound())
        return;
    const QString item = itemText(index);
    // Choosing the item already there changes nothing: the record stays as it is.
    if (m_link.field()->holds(item))
        return;
    m_link.writeNow([&item](Field &f) { f.setAsString(item); });
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
