#pragma once

#include <QLabel>

// A sunken panel of the main window's status bar: at least 150 pixels wide, and never narrower
// than its text, so that a total is read whole whatever its size.
class StatusPanel : public QLabel
{
    Q_OBJECT

public:
    explicit StatusPanel(const QString &text, QWidget *parent = nullptr);

    // The width that shows `text` whole, 150 pixels at least.
    int widthFor(const QString &text) const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
};
