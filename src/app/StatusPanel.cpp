#include "StatusPanel.h"

namespace
{
constexpr int SmallestWidth = 150;
}

StatusPanel::StatusPanel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

int StatusPanel::widthFor(const QString &text) const
{
    const int needed = fontMetrics().horizontalAdvance(text) + 2 * (frameWidth() + margin()) + 4;
    return std::max(SmallestWidth, needed);
}

QSize StatusPanel::minimumSizeHint() const
{
    return {widthFor(text()), QLabel::minimumSizeHint().height()};
}

QSize StatusPanel::sizeHint() const
{
    return minimumSizeHint();
}
