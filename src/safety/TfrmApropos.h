#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box: the program's logo, name and version. Created once and shown modally from
// the main window's menu item "A propos...". Escape and the close box close it as OK does.
class TfrmApropos : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmApropos(QWidget *parent = nullptr);

    // Nothing to cancel here: every way of closing the box ends it as OK.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QFrame *cadrePrg;
    QLabel *Image1;
    QLabel *NomPrg;
    QLabel *VersionPrg;
    QPushButton *btnOK;
};
