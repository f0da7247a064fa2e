#include "DBCheckBox.h"

#include "platform/store/Field.h"
#include "platform/store/Table.h"

DBCheckBox::DBCheckBox(QWidget *parent) : DBCheckBox(QString(), parent) {}

DBCheckBox::DBCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent), link_(this, {[this] { showFieldValue(); }, {}, {}})
{
    setTristate(true);
    setCheckState(Qt::PartiallyChecked);
}

DBCheckBox::~DBCheckBox() = default;

void DBCheckBox::bind(Table &table, const QString &fieldName)
{
    link_.bind(table, fieldName, FieldLink::Pending::Nothing);
}

void DBCheckBox::setValues(const QStringList &checkedValues, const QStringList &uncheckedValues)
{
    if (!checkedValues.isEmpty())
        checked_ = checkedValues;
    if (!uncheckedValues.isEmpty())
        unchecked_ = uncheckedValues;
    showFieldValue();
}

void DBCheckBox::showFieldValue()
{
    const Field *f = link_.field();
    Qt::CheckState state = Qt::PartiallyChecked;
    if (f) {
        const QString value = f->asString();
        if (checked_.contains(value))
            state = Qt::Checked;
        else if (unchecked_.contains(value))
            state = Qt::Unchecked;
    }
    setCheckState(state);
}

void DBCheckBox::nextCheckState()
{
    const bool toChecked = checkState() != Qt::Checked;
    if (!link_.isBound()) {
        setCheckState(toChecked ? Qt::Checked : Qt::Unchecked);
        return;
    }
    const QString value = toChecked ? checked_.first() : unchecked_.first();
    if (link_.writeNow([&value](Field &f) { f.setAsString(value); }))
        Q_EMIT toggledByUser(toChecked);
}
