#pragma once

#include <QLabel>

// A label for a full folder path: the text is never shortened, and a path too long for the
// width wraps onto further lines, at a separator or blank where it can and anywhere otherwise
// (a plain QLabel only wraps at blanks and clips the rest).
class PathLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PathLabel(QWidget *parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Lays the text out at `width` and returns its height.
    qreal layOut(class QTextLayout &layout, qreal width) const;
};
