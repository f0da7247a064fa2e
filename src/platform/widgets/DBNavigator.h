#pragma once

#include "platform/store/Table.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QAbstractButton;
class QToolButton;

// The record navigator: a row of small buttons moving through a table and posting, cancelling,
// inserting and deleting its records, each enabled when it can act and named for screen
// readers by its hint. A click never takes the focus, so that pressing a button leaves the
// caret in the field being typed. A failure is shown in the
// error box; after every action that did not fail, clicked() tells the window which button it
// was.
class DBNavigator : public QWidget
{
    Q_OBJECT

public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Post, Cancel };
    Q_ENUM(Button)

    explicit DBNavigator(QWidget *parent = nullptr);
    ~DBNavigator() override;

    void bind(Table &table);
    Table *table() const { return table_; }
    // Buttons not listed are hidden; the order stays the navigator's own. Default: all eight.
    void setVisibleButtons(const QList<Button> &buttons);
    QAbstractButton *button(Button which) const;
    // The buttons in the Tab chain (still never focused by a click), for a window whose
    // fields do not lead to them with Enter. Off by default.
    void setReachedByTab(bool on);
    // Delete asks "Supprimer l'enregistrement ?" first (on by default).
    void setConfirmDelete(bool on) { confirmDelete_ = on; }
    bool confirmDelete() const { return confirmDelete_; }
    // Runs the button's action as a press would: nothing when the button is disabled.
    void click(Button which);

    static QList<Button> allButtons();

Q_SIGNALS:
    void clicked(DBNavigator::Button button);

private:
    void run(Button which);
    void updateButtons();

    QPointer<Table> table_;
    QList<QToolButton *> buttons_;
    QList<QMetaObject::Connection> connections_;
    bool confirmDelete_ = true;
};
