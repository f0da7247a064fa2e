#include "CaptionBox.h"

#include "platform/widgets/ReadableText.h"

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
    // Green where the palette lets it be read, a lighter or darker green elsewhere.
    ReadableText::keep(this, captionGreen, QPalette::WindowText, {QPalette::Window});

    // The controls inherit from here, not from the box's caption look: the palette's own text.
    content_ = new QWidget(this);
    content_->setObjectName(name + QStringLiteral("Content"));
    content_->setFont(plainFont);
    ReadableText::keep(content_, QColor(), QPalette::WindowText, {QPalette::Window});
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
