#pragma once

#include <QTest>

// Types text into a widget key by key as a keyboard would, accented letters included (which
// QTest::keyClicks only accepts in ASCII).
namespace Typing
{

inline void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

} // namespace Typing
