#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class RestoreCandidate;

// " Restaurer une copie de sauvegarde": the automatic copies first, newest on top, then the
// folders of files earlier restores set aside ("Avant restauration ..."), newest on top, then
// any folder the user picks. Choosing one copies and checks it and shows what it holds; Restaurer,
// once confirmed, leaves it in PendingRestore and closes the dialog accepted.
class TFrmRestaurer : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmRestaurer(const QString &programDir, QWidget *parent = nullptr);
    ~TFrmRestaurer() override;

    // Lists the copies again (at each opening).
    void fillCopies();
    // A folder of the user's choice added to the list and chosen.
    void addFolder(const QString &path);
    // The copy in the list's row `row` prepared and described (or its fault shown).
    void chooseRow(int row);
    const RestoreCandidate *candidate() const { return candidate_.get(); }

    // Handlers.
    void btnAutreDossierClick();
    void btnRestaurerClick();

    // The question asked before a restore; it says that the password in force is kept.
    static QString confirmation(const QString &summary, bool passwordSet);
    // How an "Avant restauration AAAA-MM-JJ HHhMM" folder is listed.
    static QString asideLabel(const QString &folderName);
    static constexpr int helpContext = 47;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString programDir_;
    std::unique_ptr<RestoreCandidate> candidate_;
    QListWidget *lstCopies = nullptr;
    QLabel *etqContenu = nullptr;
    QPushButton *btnAutreDossier = nullptr;
    QPushButton *btnRestaurer = nullptr;
    QPushButton *btnAnnuler = nullptr;
    QPushButton *btnAide = nullptr;
};
