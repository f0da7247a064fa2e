#include "SpeedBar.h"

#include <QHBoxLayout>
#include <QToolButton>

SpeedBar::SpeedBar(const QString &name, QWidget *parent) : QFrame(parent)
{
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFixedHeight(Height);
    layout_ = new QHBoxLayout(this);
    layout_->setContentsMargins(4, 3, 4, 3);
    layout_->setSpacing(0);
    layout_->addStretch();
}

QToolButton *SpeedBar::addButton(const QString &name, Glyphs::Id glyph, const QString &hint)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setIcon(Glyphs::icon(glyph));
    button->setIconSize(QSize(18, 18));
    button->setFixedSize(25, 25);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    layout_->insertWidget(layout_->count() - 1, button);
    return button;
}

void SpeedBar::addGap()
{
    layout_->insertSpacing(layout_->count() - 1, 8);
}
