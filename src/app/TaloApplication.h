#pragma once

#include <QApplication>

// The application object. An error escaping any handler ends the current command, not the
// program: it is shown in the platform's error box and the event loop goes on.
class TaloApplication : public QApplication
{
    Q_OBJECT

public:
    TaloApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // French catalogue of Qt's own texts ("Oui", "Non", "Annuler"), regional formats, fonts.
    static void applyFrenchConventions();
};
