#include "platform/widgets/Dialogs.h"
#include "platform/widgets/MaskedLineEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace
{

const QString dateMask = QStringLiteral("!99/99/00;1;_");
const QString phoneMask = QStringLiteral("!00\\-00\\-00\\-00\\-00;1;_");
const QString numSsMask = QStringLiteral("!0000000000000\\-99;0;_");
const QString maskMessage =
    QStringLiteral("Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications");

// A window holding the masked edit and a plain edit after it; it records the keys that reach it
// as the data windows' key handling would see them.
class Window : public QWidget
{
public:
    Window()
    {
        auto *layout = new QVBoxLayout(this);
        edit = new MaskedLineEdit(this);
        other = new QLineEdit(this);
        layout->addWidget(edit);
        layout->addWidget(other);
    }

    MaskedLineEdit *edit;
    QLineEdit *other;
    QList<int> keysReceived;

protected:
    void keyPressEvent(QKeyEvent *event) override { keysReceived.append(event->key()); }
};

} // namespace

class TestMaskedLineEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void typingDateStoresSlashes();
    void unfinishedYearIsIncomplete();
    void numSsStoresFifteenDigits();
    void leavingIncompleteShowsMessageAndKeepsFocus();
    void clickingElsewhereIsCheckedToo();
    void leavingCompleteOrBlankIsAccepted();
    void validateFromCaller();
    void untouchedValueComesBackExactly();
    void nonDigitsAreRefused();
    void backspaceAndDeleteBlank();
    void selectAllThenTypeReplaces();
    void pasteFillsPositions();
    void changesByQLineEditItselfAreUndone();
    void contextMenuCutBlanks();
    void escapeReachesTheWindow();
    void revertRestoresValue();
    void enterIsNotSuppressed();
    void editedSignalOnlyForUserChanges();
    void withoutMaskPlainEdit();
    void unsupportedMaskIsPlain();

private:
    void showWindow();
    std::unique_ptr<Window> m_window;
};

void TestMaskedLineEdit::init()
{
    Dialogs::startScripting();
    m_window = std::make_unique<Window>();
}

void TestMaskedLineEdit::cleanup()
{
    m_window.reset();
    Dialogs::stopScripting();
}

void TestMaskedLineEdit::showWindow()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->edit->setFocus(Qt::OtherFocusReason);
    QVERIFY(m_window->edit->hasFocus());
}

void TestMaskedLineEdit::typingDateStoresSlashes()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    QCOMPARE(edit->text(), QStringLiteral("__/__/__"));
    showWindow();
    QTest::keyClicks(edit, QStringLiteral("050324"));
    QCOMPARE(edit->text(), QStringLiteral("05/03/24"));
    QCOMPARE(edit->storedValue(), QStringLiteral("05/03/24"));
    QVERIFY(edit->isComplete());
}

void TestMaskedLineEdit::unfinishedYearIsIncomplete()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    showWindow();
    QTest::keyClicks(edit, QStringLiteral("5"));
    QCOMPARE(edit->text(), QStringLiteral("5_/__/__"));
    QVERIFY(!edit->isComplete());
    // A day and a month typed short with the separator are enough: the year is what counts.
    QTest::keyClicks(edit, QStringLiteral("/3/24"));
    QCOMPARE(edit->storedValue(), QStringLiteral("5 /3 /24"));
    QVERIFY(edit->isComplete());
}

void TestMaskedLineEdit::numSsStoresFifteenDigits()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(numSsMask);
    showWindow();
    QTest::keyClicks(edit, QStringLiteral("123456789012345"));
    QCOMPARE(edit->text(), QStringLiteral("1234567890123-45"));
    QCOMPARE(edit->storedValue(), QStringLiteral("123456789012345"));
    // A sixteenth digit has nowhere to go.
    QTest::keyClicks(edit, QStringLiteral("6"));
    QCOMPARE(edit->storedValue(), QStringLiteral("123456789012345"));
}

void TestMaskedLineEdit::leavingIncompleteShowsMessageAndKeepsFocus()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    showWindow();
    QTest::keyClicks(edit, QStringLiteral("5"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_COMPARE(Dialogs::shownTexts(), QStringList{maskMessage});
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    QTRY_VERIFY(edit->hasFocus());
    // Once only, and what was typed is still there to be finished.
    QTest::qWait(20);
    QCOMPARE(Dialogs::shownTexts().size(), 1);
    QCOMPARE(edit->text(), QStringLiteral("5_/__/__"));
}

void TestMaskedLineEdit::clickingElsewhereIsCheckedToo()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(phoneMask);
    showWindow();
    QTest::keyClicks(edit, QStringLiteral("0123"));
    QTest::mouseClick(m_window->other, Qt::LeftButton);
    QTRY_COMPARE(Dialogs::shownTexts(), QStringList{maskMessage});
    QTRY_VERIFY(edit->hasFocus());
}

void TestMaskedLineEdit::leavingCompleteOrBlankIsAccepted()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    edit->setStoredValue(QStringLiteral("05/03/24"));
    showWindow();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("__/__/__"));
    QCOMPARE(edit->storedValue(), QString());
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_VERIFY(m_window->other->hasFocus());

    m_window->edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("010199"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_VERIFY(m_window->other->hasFocus());
    QTest::qWait(20);
    QVERIFY(m_window->other->hasFocus());
    QCOMPARE(Dialogs::shownTexts(), QStringList());
    QCOMPARE(edit->storedValue(), QStringLiteral("01/01/99"));
}

void TestMaskedLineEdit::validateFromCaller()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    showWindow();
    QTest::keyClicks(edit, QStringLiteral("12032"));
    m_window->other->setFocus();
    QVERIFY(!edit->validate());
    QCOMPARE(Dialogs::shownTexts().first(), maskMessage);
    QVERIFY(edit->hasFocus());
    // The caret waits at the first position left to fill: the last digit of the year.
    QCOMPARE(edit->cursorPosition(), 7);
    QTest::keyClicks(edit, QStringLiteral("4"));
    Dialogs::clearShown();
    QVERIFY(edit->validate());
    QCOMPARE(Dialogs::shownTexts(), QStringList());
}

void TestMaskedLineEdit::untouchedValueComesBackExactly()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    // Values that the mask cannot show faithfully are not rewritten unless the user edits them.
    edit->setStoredValue(QStringLiteral("5/3/24"));
    QCOMPARE(edit->text(), QStringLiteral("_5/_3/24"));
    QCOMPARE(edit->storedValue(), QStringLiteral("5/3/24"));
    edit->setStoredValue(QStringLiteral("2024-03-05"));
    QCOMPARE(edit->storedValue(), QStringLiteral("2024-03-05"));
    QVERIFY(!edit->isValueModified());
    // Passing through without touching it is not refused.
    showWindow();
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_VERIFY(m_window->other->hasFocus());
    QTest::qWait(20);
    QCOMPARE(Dialogs::shownTexts(), QStringList());
}

void TestMaskedLineEdit::nonDigitsAreRefused()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(phoneMask);
    showWindow();
    QSignalSpy edited(edit, &MaskedLineEdit::storedValueEdited);
    QTest::keyClicks(edit, QStringLiteral("a."));
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Eacute, QStringLiteral("é"), Qt::NoModifier);
    QCOMPARE(edit->text(), QStringLiteral("__-__-__-__-__"));
    QCOMPARE(edited.count(), 0);
    QTest::keyClicks(edit, QStringLiteral("06.12"));
    QCOMPARE(edit->text(), QStringLiteral("06-12-__-__-__"));
}

void TestMaskedLineEdit::backspaceAndDeleteBlank()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    edit->setStoredValue(QStringLiteral("05/03/24"));
    showWindow();
    edit->setCursorPosition(3);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("0_/03/24"));
    QCOMPARE(edit->cursorPosition(), 1);
    edit->setCursorPosition(6);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("0_/03/_4"));
    QCOMPARE(edit->storedValue(), QStringLiteral("0 /03/ 4"));
}

void TestMaskedLineEdit::selectAllThenTypeReplaces()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    edit->setStoredValue(QStringLiteral("05/03/24"));
    showWindow();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("1"));
    QCOMPARE(edit->text(), QStringLiteral("1_/__/__"));
    QTest::keyClicks(edit, QStringLiteral("20425"));
    QCOMPARE(edit->storedValue(), QStringLiteral("12/04/25"));
}

void TestMaskedLineEdit::pasteFillsPositions()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(phoneMask);
    showWindow();
    QGuiApplication::clipboard()->setText(QStringLiteral("06 12 34 56 78"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("06-12-34-56-78"));
    QCOMPARE(edit->storedValue(), QStringLiteral("06-12-34-56-78"));
}

void TestMaskedLineEdit::changesByQLineEditItselfAreUndone()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    edit->setStoredValue(QStringLiteral("05/03/24"));
    edit->setCursorPosition(0);
    // insert() would shift every position to the right.
    edit->insert(QStringLiteral("9"));
    QCOMPARE(edit->text(), QStringLiteral("05/03/24"));
    QCOMPARE(edit->storedValue(), QStringLiteral("05/03/24"));
}

void TestMaskedLineEdit::contextMenuCutBlanks()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    edit->setStoredValue(QStringLiteral("05/03/24"));
    edit->setSelection(0, 2);
    std::unique_ptr<QMenu> menu(edit->createMaskedContextMenu());
    const QList<QAction *> actions = menu->actions();
    QCOMPARE(actions.size(), 6);
    actions.at(0)->trigger(); // cut
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("05"));
    QCOMPARE(edit->text(), QStringLiteral("__/03/24"));
    edit->setCursorPosition(0);
    actions.at(2)->trigger(); // paste
    QCOMPARE(edit->text(), QStringLiteral("05/03/24"));
}

void TestMaskedLineEdit::escapeReachesTheWindow()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    showWindow();
    QTest::keyClicks(edit, QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(m_window->keysReceived, QList<int>{Qt::Key_Escape});
    QCOMPARE(edit->text(), QStringLiteral("12/__/__"));
}

void TestMaskedLineEdit::revertRestoresValue()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(numSsMask);
    edit->setStoredValue(QStringLiteral("123456789012345"));
    showWindow();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("9"));
    QVERIFY(edit->isValueModified());
    edit->revert();
    QVERIFY(!edit->isValueModified());
    QCOMPARE(edit->text(), QStringLiteral("1234567890123-45"));
    QCOMPARE(edit->storedValue(), QStringLiteral("123456789012345"));
}

void TestMaskedLineEdit::enterIsNotSuppressed()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    showWindow();
    QSignalSpy returned(edit, &QLineEdit::returnPressed);
    QTest::keyClicks(edit, QStringLiteral("5"));
    // The window decides what Enter does with an unfinished mask; the edit does not hide it.
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(returned.count(), 1);
    QCOMPARE(m_window->keysReceived, QList<int>{Qt::Key_Return});
}

void TestMaskedLineEdit::editedSignalOnlyForUserChanges()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setEditMask(dateMask);
    QSignalSpy edited(edit, &MaskedLineEdit::storedValueEdited);
    edit->setStoredValue(QStringLiteral("05/03/24"));
    QCOMPARE(edited.count(), 0);
    showWindow();
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, QStringLiteral("0"));
    QCOMPARE(edited.count(), 0); // same digit: nothing changed
    QTest::keyClicks(edit, QStringLiteral("6"));
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edit->storedValue(), QStringLiteral("06/03/24"));
}

void TestMaskedLineEdit::withoutMaskPlainEdit()
{
    MaskedLineEdit *edit = m_window->edit;
    edit->setStoredValue(QStringLiteral("abc"));
    showWindow();
    QSignalSpy edited(edit, &MaskedLineEdit::storedValueEdited);
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, QStringLiteral("x "));
    QCOMPARE(edit->storedValue(), QStringLiteral("x abc"));
    QCOMPARE(edited.count(), 2);
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_VERIFY(m_window->other->hasFocus());
    QCOMPARE(Dialogs::shownTexts(), QStringList());
}

void TestMaskedLineEdit::unsupportedMaskIsPlain()
{
    MaskedLineEdit *edit = m_window->edit;
    QTest::ignoreMessage(QtWarningMsg, "MaskedLineEdit: edit mask \"LL00;1;_\" is not supported");
    edit->setEditMask(QStringLiteral("LL00;1;_"));
    QVERIFY(!edit->isMasked());
    edit->setStoredValue(QStringLiteral("AB12"));
    QCOMPARE(edit->text(), QStringLiteral("AB12"));
    QVERIFY(edit->validate());
}

QTEST_MAIN(TestMaskedLineEdit)
#include "test_masked_line_edit.moc"
