#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>

// Driving a window from a test as a user would: shown modally and active, keys sent to the
// focused control, children found by their names.
namespace WindowDriving
{

inline void show(QDialog &window)
{
    window.open();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

template <typename T> T *child(QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

inline QWidget *focused()
{
    return QApplication::focusWidget();
}

inline void press(Qt::Key key)
{
    QTest::keyClick(focused(), key);
}

inline void closeAll()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
}

} // namespace WindowDriving
