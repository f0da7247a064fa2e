#include "PathLabel.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

PathLabel::PathLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

qreal PathLabel::layOut(QTextLayout &layout, qreal width) const
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setText(text());
    layout.setFont(font());
    layout.setTextOption(option);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

int PathLabel::heightForWidth(int width) const
{
    // Layouts may offer more than the label's maximum width; it is drawn at most that wide.
    width = qBound(minimumWidth(), width, maximumWidth());
    const QMargins m = contentsMargins();
    QTextLayout layout;
    const qreal text = layOut(layout, qMax(1, width - m.left() - m.right()));
    const int oneLine = fontMetrics().height();
    return qMax(oneLine, int(std::ceil(text))) + m.top() + m.bottom();
}

QSize PathLabel::sizeHint() const
{
    // A fixed width (the usual case) is known before the first layout; width() is not.
    const int w = maximumWidth() < QWIDGETSIZE_MAX ? maximumWidth() : QLabel::sizeHint().width();
    return QSize(w, heightForWidth(w));
}

QSize PathLabel::minimumSizeHint() const
{
    return sizeHint();
}

void PathLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    QTextLayout layout;
    const QRect area = contentsRect();
    layOut(layout, area.width());
    layout.draw(&painter, area.topLeft());
}
