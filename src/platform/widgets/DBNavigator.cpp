#include "DBNavigator.h"

#include "Dialogs.h"
#include "Glyphs.h"
#include "HandlerGuard.h"
#include "platform/core/PlatformMessages.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace
{

constexpr int ButtonSize = 25;
constexpr int IconSize = 16;

Glyphs::Id glyphOf(DBNavigator::Button button)
{
    switch (button) {
    case DBNavigator::Button::First:
        return Glyphs::Id::First;
    case DBNavigator::Button::Prior:
        return Glyphs::Id::Prior;
    case DBNavigator::Button::Next:
        return Glyphs::Id::Next;
    case DBNavigator::Button::Last:
        return Glyphs::Id::Last;
    case DBNavigator::Button::Insert:
        return Glyphs::Id::Insert;
    case DBNavigator::Button::Delete:
        return Glyphs::Id::Delete;
    case DBNavigator::Button::Post:
        return Glyphs::Id::Post;
    case DBNavigator::Button::Cancel:
        return Glyphs::Id::Cancel;
    }
    return Glyphs::Id::First;
}

} // namespace

QList<DBNavigator::Button> DBNavigator::allButtons()
{
    return {Button::First,  Button::Prior,  Button::Next, Button::Last,
            Button::Insert, Button::Delete, Button::Post, Button::Cancel};
}

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QStringList hints = PlatformMessages::navigatorHints();
    const QStringList descriptions = PlatformMessages::navigatorDescriptions();
    for (Button which : allButtons()) {
        auto *button = new QToolButton(this);
        button->setIcon(Glyphs::icon(glyphOf(which)));
        button->setIconSize(QSize(IconSize, IconSize));
        button->setFixedSize(ButtonSize, ButtonSize);
        button->setToolTip(hints.at(int(which)));
        button->setAccessibleName(hints.at(int(which)));
        button->setAccessibleDescription(descriptions.at(int(which)));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(false);
        connect(button, &QToolButton::clicked, this, [this, which] { run(which); });
        layout->addWidget(button);
        buttons_.append(button);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateButtons();
}

DBNavigator::~DBNavigator() = default;

void DBNavigator::bind(Table &table)
{
    for (const QMetaObject::Connection &c : std::as_const(connections_))
        disconnect(c);
    table_ = &table;
    connections_ = {
        connect(&table, &Table::dataSetChanged, this, &DBNavigator::updateButtons),
        connect(&table, &Table::recordChanged, this, &DBNavigator::updateButtons),
        connect(&table, &Table::stateChanged, this, &DBNavigator::updateButtons),
    };
    updateButtons();
}

void DBNavigator::setVisibleButtons(const QList<Button> &buttons)
{
    for (Button which : allButtons())
        buttons_.at(int(which))->setVisible(buttons.contains(which));
}

void DBNavigator::setReachedByTab(bool on)
{
    for (QToolButton *button : std::as_const(buttons_))
        button->setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

QAbstractButton *DBNavigator::button(Button which) const
{
    return buttons_.at(int(which));
}

void DBNavigator::click(Button which)
{
    if (buttons_.at(int(which))->isEnabled())
        run(which);
}

void DBNavigator::run(Button which)
{
    if (!table_)
        return;
    Table &t = *table_;
    const bool done = HandlerGuard::run(window(), [&] {
        switch (which) {
        case Button::First:
            t.first();
            break;
        case Button::Prior:
            t.prior();
            break;
        case Button::Next:
            t.next();
            break;
        case Button::Last:
            t.last();
            break;
        case Button::Insert:
            t.insert();
            break;
        case Button::Delete:
            if (!confirmDelete_ ||
                Dialogs::question(window(), PlatformMessages::deleteRecordQuestion()))
                t.deleteRecord();
            break;
        case Button::Post:
            t.post();
            break;
        case Button::Cancel:
            t.cancel();
            break;
        }
    });
    updateButtons();
    if (done)
        Q_EMIT clicked(which);
}

void DBNavigator::updateButtons()
{
    const bool active = table_ && table_->isActive();
    const int rows = active ? table_->shownRowCount() : 0;
    const int row = active ? table_->shownCurrentRow() : -1;
    const bool editing = active && table_->isEditing();
    const bool up = rows > 0 && row > 0;
    const bool down = rows > 0 && row < rows - 1;
    const bool enabled[] = {up, up, down, down, active, rows > 0, editing, editing};
    for (Button which : allButtons())
        buttons_.at(int(which))->setEnabled(enabled[int(which)]);
}
