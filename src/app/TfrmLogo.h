#pragma once

#include <QWidget>

class QFrame;
class QLabel;

// The splash window shown while the program comes up: no border, centred, the logo, the
// program's name and version. It has no behaviour; start-up shows it, then destroys it.
class TfrmLogo : public QWidget
{
    Q_OBJECT
public:
    static constexpr int clientWidth = 345;
    static constexpr int clientHeight = 136;

    explicit TfrmLogo(QWidget *parent = nullptr);

    // Shows the window centred and paints it before returning: the event loop is not running
    // yet while the program starts, so nothing else would paint it.
    void showNow();

private:
    void centreOnScreen();

    QFrame *Bevel1;
    QFrame *Panel1;
    QLabel *Image1;
    QLabel *NomPrg;
    QLabel *VersionPrg;
    QLabel *etqAuteur;
    QLabel *etqEditeur;
};
