#include "DBCheckBox.h"

#include "platform/store/Field.h"
#include "platform/store/Table.h"

DBCheckBox::DBCheckBox(QWidget *parent) : DBCheckBox(QString(), parent) {}

DBCheckBox::DBCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent), m_link(this, {[this] { showFieldValue(); }, {}, {}})
{
    setTristate(true);
    setCheckState(Qt::PartiallyChecked);
}

DBCheckBox::~DBCheckBox() = default;

void DBCheckBox::bind(Table &table, const QString &fieldName)
{
    m_link.bind(table, fieldName, FieldLink::Pending::Nothing);
}

void DBCheckBox::setValues(const QStringList &checkedValues, const QStringList &uncheckedValues)
{
    if (!checkedValues.isEmpty())
        m_checked = checkedValues;
    if (!uncheckedValues.isEmpty())
        m_unchecked = uncheckedValues;
    showFieldValue();
}

void DBCheckBox::showFieldValue()
{
    const Field *f = m_link.field();
    Qt::CheckState state = Qt::PartiallyChecked;
    if (f) {
        const QString value = f->asString();
        if (m_checked.contains(value))
            state = Qt::Checked;
        else if (m_unchecked.contains(value))
            state = Qt::Unchecked;
    }
    setCheckState(state);
}

void DBCheckBox::nextCheckState()
{
    const bool toChecked = checkState() != Qt::Checked;
    if (!m_link.isBound()) {
        setCheckState(toChecked ? Qt::Checked : Qt::Unchecked);
        return;
    }
    const QString value = toChecked ? m_checked.first() : m_unchecked.first();
    if (m_link.writeNow([&value](Field &f) { f.setAsString(value); }))
        Q_EMIT toggledByUser(toChecked);
}
