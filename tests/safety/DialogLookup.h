#pragma once

#include <QDialog>
#include <QTest>

// Finds a control of a window by its object name.
template <typename T> T *dialogChild(QWidget &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

// Opens a dialog without blocking and waits until it is active; false if it never is.
inline bool showAndWait(QDialog &dialog)
{
    dialog.open();
    return QTest::qWaitForWindowActive(&dialog);
}
