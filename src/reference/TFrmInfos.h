#pragma once

#include "InsurerDetails.h"

#include "platform/widgets/DBNavigator.h"

#include "platform/widgets/DataWindowKeys.h"

#include <QDialog>

#include <memory>

class BatchMove;
class CaptionBox;
class DetailsBox;
class InsuredPersonsBox;
class QKeyEvent;
class QLineEdit;
class QToolButton;
class SpeedBar;
class Table;

// The insurance details window: the nine insurer values of talosoc.inf and mutuelle.inf in two
// boxes, and the insured persons of ASSURE.DB in a third. Created once at program start, when it
// opens the table and reads the two files; the edits then hold the authoritative details for the
// run, and writeDetails() puts them back on disk at a confirmed exit or a backup.
//
// When ASSURE.DB cannot be opened the error box says why at creation and the insured persons'
// box stays disabled for the run; the insurer details are read, edited and written as usual.
class TFrmInfos : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmInfos(const QString &programDir, QWidget *parent = nullptr);
    ~TFrmInfos() override;

    // Rewrites talosoc.inf, then mutuelle.inf, in the program directory from the edits. A file
    // that existed but could not be read at creation is left alone. Throws PlatformError.
    void writeDetails();

    // The mutuelle's five details as they stand in the edits (name, address, telephone, member
    // number, payment mode).
    QStringList mutualDetails() const;

    Table &tableAssure() { return *TableAssure; }
    // Destination of the backup copy; its folder is set by the caller.
    Table &tableCopieAssure() { return *TableCopieAssure; }
    BatchMove &copieAssure() { return *CopieAssure; }

    // Leaving by the close box is leaving by Quitter.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    DataWindowKeys::Rules keyRules();
    void cadreSSClick(CaptionBox *box);
    void navAssureClick(DBNavigator::Button button);
    void btnAideClick();
    void BtnQuitterClick();

    void buildToolBar();
    void buildDetailBoxes();
    void showDetails();
    bool isInsurerEdit(const QWidget *widget) const;

    QString programDir_;
    Table *TableAssure;
    Table *TableCopieAssure;
    std::unique_ptr<BatchMove> CopieAssure;
    InsurerDetails details_;

    SpeedBar *Panel1;
    QToolButton *btnAide;
    QToolButton *BtnQuitter;
    DetailsBox *cadreSS;
    DetailsBox *cadreMutuelle;
    InsuredPersonsBox *cadreAssures;
    QLineEdit *chpOrganisme;
    QLineEdit *chpNumSS;
    QLineEdit *chpCaisse;
    QLineEdit *chpAdresse;
    QLineEdit *chpNomMutuelle;
    QLineEdit *chpAdresseMutuelle;
    QLineEdit *chpTelMutuelle;
    QLineEdit *chpNumMutuelle;
    QLineEdit *chpModeMutuelle;
    DataWindowKeys *keys_;
};
