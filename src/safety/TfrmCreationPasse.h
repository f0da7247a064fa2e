#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Sets, changes or removes the start-up password. Only its hash is stored, so the current one
// cannot be shown: the field starts empty, a hint says that an empty field keeps the password
// in force, and "Supprimer le mot de passe" removes it. What is typed is shown in clear; the
// new value takes effect at the next start. Changing it does not ask for the old one.
class TfrmCreationPasse : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCreationPasse(QWidget *parent = nullptr);

    // The whole password command: reads the current password of talo.ini in `programDir`,
    // shows the dialog modally and stores the text on OK. A talo.ini that cannot be read is
    // reported and the dialog not shown. Returns true when a new value was stored (a new
    // password, or the removal of the one in force).
    bool run(const QString &programDir);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Stores the text (or the removal); when talo.ini cannot be written the error is shown and
    // the dialog stays open, the old value still in force.
    void btnOKClick();
    void btnAideClick();
    void ccSupprimerToggled(bool checked);

    QLabel *Label1;
    QLineEdit *chpMotDePasse;
    QLabel *etqConseil;
    QCheckBox *ccSupprimer;
    QPushButton *btnOK;
    QPushButton *btnAnnuler;
    QPushButton *btnAide;

    QString programDir_;
    bool passwordSet_ = false;
    bool stored_ = false;
};
