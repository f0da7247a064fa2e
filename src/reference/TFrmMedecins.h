#pragma once

#include "platform/widgets/DataWindowKeys.h"
#include "platform/widgets/ReportCommand.h"

#include <QDialog>

#include <functional>
#include <memory>

class BatchMove;
class DBEdit;
class DBGrid;
class DBNavigator;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QToolButton;
class SpeedBar;
class Table;

// The doctors' address book over MEDECINS.DB: a grid of every doctor in name order, a
// navigator and the current doctor's fields, driven by the keyboard (Enter walks the fields and
// saves on the last one, Escape cancels, Insert starts a new doctor, Up and Down move). Created
// once with its table open for the whole run; showing it goes to the last doctor.
class TFrmMedecins : public QDialog
{
    Q_OBJECT

public:
    // Opens the table in `programDir`; a failure is shown in the error box and the window
    // stays usable for nothing but closing.
    explicit TFrmMedecins(const QString &programDir, QWidget *parent = nullptr);
    ~TFrmMedecins() override;

    Table &tableMedecins() { return *TableMedecins; }
    // Destination of the backup copy; its folder is set by the caller.
    Table &tableCopieMedecins() { return *TableCopieMedecins; }
    BatchMove &copieMedecins() { return *CopieMedecins; }

    // The doctors list report lives above this layer: its print (false) or preview (true)
    // command is handed in by the main window. Without it the two buttons do nothing.
    void setPrintHandler(std::function<void(ReportCommand::Output)> handler);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate(const QString &programDir);
    void FormShow();
    DataWindowKeys::Rules keyRules();
    void btnImprimerClick();
    void btnApercuClick();
    void btnAideClick();
    void BtnQuitterClick();

    void buildToolBar();
    QGridLayout *buildFields();
    DBEdit *addEdit(const QString &name, const QString &fieldName);
    QLabel *addLabel(const QString &text, DBEdit *buddy);
    bool isDataEdit(const QWidget *widget) const;

    Table *TableMedecins;
    Table *TableCopieMedecins;
    std::unique_ptr<BatchMove> CopieMedecins;
    std::function<void(ReportCommand::Output)> printHandler_;

    SpeedBar *BarreIcones;
    QToolButton *btnImprimer;
    QToolButton *btnApercu;
    QToolButton *btnAide;
    QToolButton *BtnQuitter;
    DBGrid *DBGrilleMedecins;
    DBNavigator *navMedecins;
    DBEdit *DBchpNom;
    DBEdit *DBchpPrenom;
    DBEdit *DBchpSpecialite;
    DBEdit *DBchpAdresse;
    DBEdit *DBchpVille;
    DBEdit *DBchpCodePostal;
    DBEdit *DBchpTel;
    QList<DBEdit *> edits_;
    DataWindowKeys *keys_;
};
