#include "TFrmExporter.h"

#include "TableCsvExport.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmExporter::TFrmExporter(Table &care, Table &doctors, Table &insured, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder()), register_(care), doctors_(doctors),
      insured_(insured)
{
    setObjectName(QStringLiteral("TFrmExporter"));
    setWindowTitle(QStringLiteral(" Exporter"));

    auto *cadre = new QGroupBox(QStringLiteral("Données à exporter vers un tableur"), this);
    cadre->setObjectName(QStringLiteral("cadreDonnees"));
    rbRegistre = new QRadioButton(QStringLiteral("Les &soins affichés dans la fenêtre principale"));
    rbRegistre->setObjectName(QStringLiteral("rbRegistre"));
    rbRegistre->setChecked(true);
    rbMedecins = new QRadioButton(QStringLiteral("Le &carnet d'adresses des médecins"));
    rbMedecins->setObjectName(QStringLiteral("rbMedecins"));
    rbAssures = new QRadioButton(QStringLiteral("&Les assurés"));
    rbAssures->setObjectName(QStringLiteral("rbAssures"));
    auto *choices = new QVBoxLayout(cadre);
    for (QRadioButton *rb : {rbRegistre, rbMedecins, rbAssures})
        choices->addWidget(rb);

    btnExporter = new QPushButton(QStringLiteral("&Exporter..."), this);
    btnExporter->setObjectName(QStringLiteral("btnExporter"));
    btnExporter->setDefault(true);
    connect(btnExporter, &QPushButton::clicked, this, &TFrmExporter::btnExporterClick);
    btnAnnuler = new QPushButton(QStringLiteral("&Annuler"), this);
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    // "&Annuler" has the A.
    btnAide = new QPushButton(QStringLiteral("A&ide"), this);
    btnAide->setObjectName(QStringLiteral("btnAide"));
    connect(btnAide, &QPushButton::clicked, this, [this] { Help::showContext(this, helpContext); });
    Help::addHelpKey(*this, helpContext);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(btnExporter);
    buttons->addWidget(btnAnnuler);
    buttons->addWidget(btnAide);
    buttons->addStretch();
    auto *row = new QHBoxLayout(this);
    row->setSizeConstraint(QLayout::SetFixedSize);
    row->addWidget(cadre, 1);
    row->addLayout(buttons);
}

TFrmExporter::Choice TFrmExporter::choice() const
{
    if (rbMedecins->isChecked())
        return Choice::Doctors;
    if (rbAssures->isChecked())
        return Choice::Insured;
    return Choice::Register;
}

QString TFrmExporter::suggestedName(Choice choice)
{
    switch (choice) {
    case Choice::Doctors:
        return QStringLiteral("Médecins.csv");
    case Choice::Insured:
        return QStringLiteral("Assurés.csv");
    case Choice::Register:
        break;
    }
    return QStringLiteral("Soins.csv");
}

Table &TFrmExporter::table(Choice choice)
{
    switch (choice) {
    case Choice::Doctors:
        return doctors_;
    case Choice::Insured:
        return insured_;
    case Choice::Register:
        break;
    }
    return register_;
}

void TFrmExporter::btnExporterClick()
{
    const Choice chosen = choice();
    QFileDialog files(this, QStringLiteral(" Exporter vers un fichier CSV"),
                      QDir::home().filePath(suggestedName(chosen)),
                      QStringLiteral("Fichiers CSV (*.csv);;Tous les fichiers (*)"));
    files.setObjectName(QStringLiteral("dlgFichierCsv"));
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setFileMode(QFileDialog::AnyFile);
    // The dialog adds ".csv" to a bare name before it checks for a file to replace: the
    // question is asked about the file that is then written, not about the name typed.
    files.setDefaultSuffix(QStringLiteral("csv"));
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty())
        return;
    if (exportTo(chosen, files.selectedFiles().constFirst()))
        accept();
}

bool TFrmExporter::exportTo(Choice choice, const QString &path)
{
    const QString target =
        QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".csv") : path;
    try {
        const int count = TableCsvExport::write(table(choice), target);
        Dialogs::information(this, QStringLiteral("%1 fiche(s) exportée(s) dans le fichier « %2 ».")
                                       .arg(count)
                                       .arg(QDir::toNativeSeparators(target)));
        return true;
    } catch (const PlatformError &e) {
        Dialogs::error(this, QStringLiteral("L'exportation n'a pas pu se faire :\n\n%1\n\nAucun "
                                            "fichier n'a été modifié.")
                                 .arg(e.message()));
        return false;
    }
}

void TFrmExporter::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}
