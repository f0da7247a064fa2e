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
// the program's data there. Created once; it keeps the folder last chosen between openings.
// OK closes it only when the copy is complete; a refused folder or a failed step leaves it
// open with a message.
class TFrmSauvegarder : public QDialog
{
    Q_OBJECT
public:
    TFrmSauvegarder(const QString &programDir, BackupSources &sources, QWidget *parent = nullptr);

    // The folder the list shows, which is the target of the copy.
    QString folder() const;
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

    QString programDir_;
    BackupSources &sources_;

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
