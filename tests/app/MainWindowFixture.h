#pragma once

#include "support/FileBytes.h"
#include "support/StoredRows.h"

#include "app/ProgramDirectory.h"
#include "app/TFrmPrincipale.h"
#include "app/TaloWindows.h"
#include "platform/core/Today.h"
#include "platform/store/Table.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "platform/widgets/TableModel.h"
#include "tables/CareEntryTable.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

// The main window of a test, over a program directory of its own: empty tables and talo.ini
// made as the installation makes them, care entries put in the file beforehand, the window
// shown and active, keys sent to the focused control, files and rows read back from disk.
class MainWindowFixture
{
public:
    using Values = StoredRows::Values;

    // French regional settings and a fixed today (15 June 2024) for every test of a program.
    static void pinConventions()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2024, 6, 15));
    }

    // A fresh program directory; message boxes answered from the script, help only recorded.
    bool prepare()
    {
        finish();
        dir_ = std::make_unique<QTemporaryDir>();
        if (!dir_->isValid())
            return false;
        ProgramDirectory::provision(path());
        Dialogs::startScripting();
        Help::startRecording();
        Help::clearLastRequest();
        return true;
    }

    // Closes every window and forgets the script, whatever the test left behind.
    void finish()
    {
        Help::closeWindow();
        endProgram();
        Dialogs::stopScripting();
        Help::stopRecording();
    }

    // With its trailing separator, as the program hands it to the windows.
    QString path() const { return dir_->path() + QLatin1Char('/'); }
    QString filePath(const QString &name) const { return QDir(dir_->path()).filePath(name); }
    QStringList fileNames() const
    {
        return QDir(dir_->path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    }

    void putFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(name));
        file.write(bytes);
    }
    // The bytes of the file, or "<none>" when it cannot be read.
    QByteArray fileBytes(const QString &name) const { return FileBytes::of(filePath(name)); }

    // One care entry written to TALO.DB before the window opens: field name and text.
    void seed(const Values &values) const
    {
        StoredRows::add(path(), CareEntryTable::definition(), values);
    }

    // The rows of TALO.DB in the register's order, the listed fields joined by "|".
    QStringList storedRows(const QStringList &fields) const
    {
        return StoredRows::read(path(), CareEntryTable::definition(),
                                CareEntryTable::indexFieldNames(), fields,
                                QStringLiteral("<null>"));
    }

    // FormCreate, then FormShow: with the other windows, the password gate before showing.
    // False when the window did not become active (or the gate ended the program).
    bool start(bool withOtherWindows = false)
    {
        main_ = std::make_unique<TFrmPrincipale>(path());
        if (withOtherWindows)
            windows_ = TaloWindows::create(*main_);
        if (!main_->FormShow())
            return false;
        return QTest::qWaitForWindowActive(main_.get());
    }

    // The program ended and started again over the same directory: what it wrote is read back.
    bool restart(bool withOtherWindows = false)
    {
        endProgram();
        Dialogs::startScripting();
        return start(withOtherWindows);
    }

    // The windows closed and gone, their tables with them, as when the program's loop ends.
    void endProgram()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget != main_.get() && widget->isVisible())
                widget->close();
        }
        // The other windows are the main window's children: they go with it, while the list of
        // them and the backup's sources they point at are still there.
        main_.reset();
        windows_.reset();
    }

    // A whole care entry typed as the user does, Enter in the note saving it.
    void typeEntry(const QString &date, const QString &beneficiary, const QString &cost)
    {
        press(Qt::Key_Insert);
        type(date);
        press(Qt::Key_Return);
        type(beneficiary);
        enterUntil(QStringLiteral("DBCout"));
        type(cost);
        enterUntil(QStringLiteral("DBMemoSoins"));
        press(Qt::Key_Return);
    }

    TFrmPrincipale &main() { return *main_; }
    TaloWindows &windows() { return *windows_; }
    Table &table() { return main_->tableTous(); }

    template <typename T> T *child(const QString &name)
    {
        T *found = main_->findChild<T *>(name);
        if (!found)
            qFatal("no child %s", qPrintable(name));
        return found;
    }

    static QWidget *focused() { return QApplication::focusWidget(); }
    QString focusedName() const
    {
        const QWidget *widget = QApplication::focusWidget();
        return widget ? widget->objectName() : QStringLiteral("<none>");
    }

    // A key as the keyboard sends it: to the focused control.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = focused();
        QTest::keyClick(target ? target : main_.get(), key, modifiers);
    }
    // Text typed key by key into the focused control, accented letters included.
    static void type(const QString &text)
    {
        for (const QChar c : text) {
            QWidget *target = focused();
            if (c.unicode() < 0x80) {
                QTest::keyClick(target, char(c.unicode()));
            } else {
                QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            }
        }
    }

    // Enter from control to control until `name` has the focus; false if it never does.
    bool enterUntil(const QString &name)
    {
        for (int i = 0; i < 12 && focusedName() != name; ++i)
            press(Qt::Key_Return);
        return focusedName() == name;
    }

    // The user choosing an item of one of the two selectors.
    void choose(const QString &selector, const QString &item)
    {
        auto *combo = child<QComboBox>(selector);
        const int index = combo->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0)
            qFatal("no item %s in %s", qPrintable(item), qPrintable(selector));
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

    QStringList comboItems(const QString &name)
    {
        auto *combo = child<QComboBox>(name);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        return items;
    }

    // The texts of the grid's column titled `title`, top to bottom.
    QStringList gridColumn(const QString &title)
    {
        QAbstractItemModel *model = child<DBGrid>(QStringLiteral("DBGrille"))->model();
        int column = -1;
        for (int c = 0; c < model->columnCount(); ++c) {
            if (model->headerData(c, Qt::Horizontal).toString() == title)
                column = c;
        }
        if (column < 0)
            qFatal("no column %s", qPrintable(title));
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, column).data().toString());
        return texts;
    }
    int gridCurrentRow() { return child<DBGrid>(QStringLiteral("DBGrille"))->currentIndex().row(); }

    // The four status bar panels, then the awaited amount.
    QStringList totalsShown()
    {
        QStringList texts;
        for (int i = 0; i < 4; ++i)
            texts.append(child<QLabel>(QStringLiteral("BarreEtatPanneau%1").arg(i))->text());
        texts.append(child<QLabel>(QStringLiteral("EtqAttendus"))->text());
        return texts;
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TFrmPrincipale> main_;
    std::unique_ptr<TaloWindows> windows_;
};
