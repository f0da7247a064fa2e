#pragma once

#include <QGroupBox>

// A group box of the insurance window: bold green caption over content in the window's plain
// font and colours. A click on the box itself (its frame, its caption or an empty spot, not a
// control or a label inside) is reported, so that the window can put the caret in the box's
// first field.
class CaptionBox : public QGroupBox
{
    Q_OBJECT

public:
    CaptionBox(const QString &name, const QString &caption, QWidget *parent);

    // The widget holding the box's controls; give it a layout.
    QWidget *content() const { return content_; }

Q_SIGNALS:
    void clicked(CaptionBox *box);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QWidget *content_;
};
