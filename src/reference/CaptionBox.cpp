#include "CaptionBox.h"

#include <QMouseEvent>
#include <QVBoxLayout>

namespace
{

const QColor captionGreen(0x00, 0x80, 0x00);

} // namespace

CaptionBox::CaptionBox(const QString &name, const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
{
    setObjectName(name);
    // The weight is set outright on both sides: a font only inherits what it leaves unset.
    QFont plainFont = parent->font();
    plainFont.setBold(false);
    QFont bold = plainFont;
    bold.setBold(true);
    setFont(bold);
    QPalette green = palette();
    green.setColor(QPalette::WindowText, captionGreen);
    setPalette(green);

    // The controls inherit from here, not from the box's caption look.
    content_ = new QWidget(this);
    content_->setObjectName(name + QStringLiteral("Content"));
    content_->setFont(plainFont);
    QPalette plainPalette = green;
    plainPalette.setColor(QPalette::WindowText, parent->palette().color(QPalette::WindowText));
    content_->setPalette(plainPalette);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 3);
    layout->addWidget(content_);
}

void CaptionBox::mousePressEvent(QMouseEvent *event)
{
    const QWidget *hit = childAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && (!hit || hit == content_))
        Q_EMIT clicked(this);
    QGroupBox::mousePressEvent(event);
}
