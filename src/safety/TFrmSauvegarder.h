#pragma once

#include <QDialog>

class BackupSources;
class DirectoryListBox;
class PathLabel;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The backup dialog: the user picks a volume and a folder (or creates one) and OK copies all
// the program's data there. Created once. Until the user picks a folder it opens where a copy
// belongs (BackupPlace); then it keeps the folder chosen between openings. OK asks first when
// the folder holds other files than a copy's, and closes the dialog once the copy is complete,
// saying in one line what went where; a refused folder or a failed step leaves it open with a
// message.
class TFrmSauvegarder : public QDialog
{
    Q_OBJECT
public:
    TFrmSauvegarder(const QString &programDir, BackupSources &sources, QWidget *parent = nullptr);

    // The folder the list shows, which is the target of the copy.
    QString folder() const;
    // The folder chosen, kept for the rest of the run.
    void setFolder(const QString &path);

    // The roots of the mounted volumes that can be browsed, in order.
    static QStringList volumeRoots();

    static QString createFolderFailed();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btnOKClick();
    void btnCreerDossierClick();
    void btnAideClick();
    void lstLecteurChange(int index);
    void lstCheminChange(const QString &path);
    void fillVolumes();
    void selectVolumeOf(const QString &path);
    void showFolder(const QString &path);
    QString startingFolder() const;
    bool confirmTarget(const QString &folderShown);
    void reportCopy(const QString &folderShown);

    QString programDir_;
    BackupSources &sources_;
    // Whether the user has picked a folder during this run; until then each opening looks
    // again for where a copy belongs.
    bool chosen_ = false;
    bool placing_ = false;

    QGroupBox *GroupBox1;
    PathLabel *etqChemin;
    QLabel *etqDossier;
    DirectoryListBox *lstChemin;
    QLabel *etqLecteur;
    QComboBox *lstLecteur;
    QPushButton *btnCreerDossier;
    QPushButton *btnAide;
    QPushButton *btnOK;
    QPushButton *btnAnnuler;
};
