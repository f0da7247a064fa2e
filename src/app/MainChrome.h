#pragma once

#include <QList>

class QAction;
class QComboBox;
class QLabel;
class QWidget;
class TFrmPrincipale;

// The main window's menu, tool bar and status bar, wired to its handlers.
namespace MainChrome
{

// Every menu and command with its underlined letter; F10 opens the first menu.
void buildMenu(TFrmPrincipale &window);
// The tool bar with its nine buttons (reached by Tab, named for screen readers) and, at its
// right end, the awaited reimbursements.
QWidget *buildToolBar(TFrmPrincipale &window, QLabel *&awaited);
// The band of the two selectors under the tool bar, each after its caption.
QWidget *buildSelectorBand(TFrmPrincipale &window, QComboBox *&year, QComboBox *&beneficiary);
// The four panels of BarreEtat, 150 pixels each or as wide as their texts.
QList<QLabel *> buildStatusBar(TFrmPrincipale &window);
// The width the status bar needs to show sums of up to 99 999,99 whole.
int statusBarWidth(const QList<QLabel *> &panels);
// The commands that open other windows (enabled once those windows exist).
QList<QAction *> windowCommands(TFrmPrincipale &window);

} // namespace MainChrome
