#pragma once

#include "LaidOutReport.h"

class QDialog;
class QHBoxLayout;

// The buttons along the foot of a window that prints a report: "Aperçu", "Imprimer", "Aide"
// and "Fermer", with F1 for the window's help section; `leading` (if any) stands at the left.
class ReportButtons
{
public:
    static QHBoxLayout *create(QDialog &window, LaidOutReport report, int helpContext,
                               QWidget *leading = nullptr);
};
