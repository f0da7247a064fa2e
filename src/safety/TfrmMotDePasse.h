#pragma once

#include "recovery/StoredPassword.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The start-up password prompt. One attempt only: the right password lets the user in, a
// wrong one is announced and ends the program, and Annuler, Escape or the close box end it
// silently. The caller (the main window) sets its leave-silently flag and closes on anything
// but LetIn.
class TfrmMotDePasse : public QDialog
{
    Q_OBJECT
public:
    enum class Outcome { LetIn, Refused, Cancelled };

    explicit TfrmMotDePasse(QWidget *parent = nullptr);

    // Shows the prompt modally and checks the entry against `stored` exactly: case counts,
    // nothing is trimmed. No stored password lets the user in without a prompt.
    Outcome ask(const StoredPassword &stored);

    // The whole gate at start: reads the password of talo.ini in `programDir` and asks for it
    // when one is set. A talo.ini that exists but cannot be read is reported and refuses entry,
    // so that an unreadable file never opens a protected register. A password an earlier
    // version kept in clear is replaced by its hash once it has let the user in (a file that
    // cannot be written keeps it in clear until the next start; the user gets in all the same).
    Outcome gate(const QString &programDir);

    static QString refusalMessage();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btnOKClick();

    QLabel *Label1;
    QLineEdit *chpMotDePasse;
    QPushButton *btnOK;
    QPushButton *btnAnnuler;

    StoredPassword stored_;
    QString letInWith_;
    Outcome outcome_ = Outcome::Cancelled;
};
