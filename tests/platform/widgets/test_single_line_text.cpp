#include "platform/widgets/MaskedLineEdit.h"
#include "platform/widgets/SingleLineText.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

// One-line fields: a line break pasted or typed becomes one blank, wherever it stands.
class TestSingleLineText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pastedBreakBecomesBlank_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::newRow("none") << "ANNE MARIE"
                              << "ANNE MARIE";
        QTest::newRow("LF") << "ANNE\nMARIE"
                            << "ANNE MARIE";
        QTest::newRow("CR LF is one") << "ANNE\r\nMARIE"
                                      << "ANNE MARIE";
        QTest::newRow("CR") << "ANNE\rMARIE"
                            << "ANNE MARIE";
        QTest::newRow("LF CR is two") << "ANNE\n\rMARIE"
                                      << "ANNE  MARIE";
        QTest::newRow("line separator") << QString("A") + QChar::LineSeparator + "B"
                                        << "A B";
        QTest::newRow("paragraph separator") << QString("A") + QChar::ParagraphSeparator + "B"
                                             << "A B";
        QTest::newRow("trailing break") << "ANNE\r\n"
                                        << "ANNE ";
    }
    void pastedBreakBecomesBlank()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        MaskedLineEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.setText("<>");
        edit.setCursorPosition(1);
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), "<" + kept + ">");
        QCOMPARE(edit.cursorPosition(), 1 + kept.size());
    }

    void typedSeparatorBecomesBlank()
    {
        MaskedLineEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QTest::keyClicks(&edit, "A");
        for (QTest::KeyAction action : {QTest::Press, QTest::Release})
            QTest::sendKeyEvent(action, &edit, Qt::Key_unknown, QString(QChar::LineSeparator),
                                Qt::NoModifier);
        QTest::keyClicks(&edit, "B");
        QCOMPARE(edit.text(), QString("A B"));
    }
};

QTEST_MAIN(TestSingleLineText)
#include "test_single_line_text.moc"
