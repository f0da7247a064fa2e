#pragma once

#include "platform/widgets/Glyphs.h"

#include <QFrame>

class QHBoxLayout;
class QToolButton;

// The tool bar along the top of a reference window: a raised panel 33 pixels high holding flat
// 25 × 25 speed buttons with a pictogram and a hint, which never take the focus from the field
// being typed in.
class SpeedBar : public QFrame
{
    Q_OBJECT

public:
    static constexpr int Height = 33;

    explicit SpeedBar(const QString &name, QWidget *parent);

    QToolButton *addButton(const QString &name, Glyphs::Id glyph, const QString &hint);
    // A gap between groups of buttons.
    void addGap();

private:
    QHBoxLayout *layout_;
};
