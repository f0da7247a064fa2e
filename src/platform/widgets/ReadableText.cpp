#include "ReadableText.h"

#include "TextContrast.h"

#include <QApplication>
#include <QEvent>
#include <QScopedValueRollback>
#include <QWidget>

ReadableText *ReadableText::keep(QWidget *widget, const QColor &wanted, QPalette::ColorRole text,
                                 const QList<QPalette::ColorRole> &backgrounds, int shade)
{
    return new ReadableText(widget, wanted, text, backgrounds, shade);
}

ReadableText::ReadableText(QWidget *widget, const QColor &wanted, QPalette::ColorRole text,
                           const QList<QPalette::ColorRole> &backgrounds, int shade)
    : QObject(widget), widget_(widget), wanted_(wanted), text_(text), backgrounds_(backgrounds),
      shade_(shade)
{
    widget->installEventFilter(this);
    apply();
}

void ReadableText::setWanted(const QColor &wanted)
{
    wanted_ = wanted;
    apply();
}

bool ReadableText::eventFilter(QObject *watched, QEvent *event)
{
    // A new desktop palette reaches the widget as a palette change; a window that sets a
    // background of its own (a field turned silver) does too.
    if (watched == widget_ && !applying_) {
        switch (event->type()) {
        case QEvent::PaletteChange:
        case QEvent::ApplicationPaletteChange:
        case QEvent::StyleChange:
            apply();
            break;
        default:
            break;
        }
    }
    return false;
}

void ReadableText::apply()
{
    if (!widget_)
        return;
    const QScopedValueRollback guard(applying_, true);
    QPalette palette = widget_->palette();
    const QPalette own = QApplication::palette(widget_);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        // A disabled text keeps the palette's own dimmed colour, only made readable.
        const QColor wanted =
            wanted_.isValid() && group != QPalette::Disabled ? wanted_ : own.color(group, text_);
        QList<QColor> backgrounds;
        for (QPalette::ColorRole role : std::as_const(backgrounds_)) {
            backgrounds.append(palette.color(group, role));
            if (shade_ != 100) {
                backgrounds.append(palette.color(group, role).darker(shade_));
                backgrounds.append(palette.color(group, role).lighter(shade_));
            }
        }
        palette.setColor(group, text_, TextContrast::readable(wanted, backgrounds));
    }
    if (palette != widget_->palette() || palette.resolveMask() != widget_->palette().resolveMask())
        widget_->setPalette(palette);
}
