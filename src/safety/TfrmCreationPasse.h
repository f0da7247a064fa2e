#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Sets, changes or removes the start-up password. The current password is shown in clear and
// can be edited; OK stores the text as it stands (empty removes the password) and the new
// value takes effect at the next start. Changing it does not ask for the old one.
class TfrmCreationPasse : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCreationPasse(QWidget *parent = nullptr);

    // The whole password command: reads the current password of talo.ini in `programDir`,
    // shows the dialog modally and stores the text on OK. A talo.ini that cannot be read is
    // reported and the dialog not shown. Returns true when a new value was stored.
    bool run(const QString &programDir);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Stores the text; when talo.ini cannot be written the error is shown and the dialog stays
    // open, the old value still in force.
    void btnOKClick();
    void btnAideClick();

    QLabel *Label1;
    QLineEdit *chpMotDePasse;
    QPushButton *btnOK;
    QPushButton *btnAnnuler;
    QPushButton *btnAide;

    QString programDir_;
};
