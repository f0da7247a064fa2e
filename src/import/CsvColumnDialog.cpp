#include "CsvColumnDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

CsvColumnDialog::CsvColumnDialog(const StatementFile &file, QWidget *parent)
    : QDialog(parent), table_(file.table)
{
    setObjectName(QStringLiteral("CsvColumnDialog"));
    setWindowTitle(QStringLiteral(" Colonnes du relevé"));
    auto *layout = new QVBoxLayout(this);
    QString intro = QStringLiteral("Les colonnes de « %1 » n'ont pas été reconnues. Dites quelle "
                                   "colonne contient quoi ; ce choix sera retenu pour les relevés "
                                   "suivants de cette banque.")
                        .arg(QFileInfo(file.path).fileName());
    if (!file.columnProblem.isEmpty())
        intro += QStringLiteral("\n") + file.columnProblem;
    auto *etqIntro = new QLabel(intro, this);
    etqIntro->setWordWrap(true);
    layout->addWidget(etqIntro);

    const int columns = table_.columnCount();
    const int shown = std::min<int>(PreviewRows, int(table_.rows().size()));
    auto *apercu = new QTableWidget(shown, columns, this);
    apercu->setObjectName(QStringLiteral("grilleApercu"));
    apercu->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList headers, lines;
    for (int c = 0; c < columns; ++c)
        headers.append(QStringLiteral("Colonne %1").arg(c + 1));
    apercu->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < shown; ++r) {
        const CsvRow &row = table_.rows()[size_t(r)];
        // Numbered as the first operation's box counts them (a record may span lines).
        lines.append(QString::number(r + 1));
        for (int c = 0; c < columns; ++c)
            apercu->setItem(r, c, new QTableWidgetItem(row.cell(c)));
    }
    apercu->setVerticalHeaderLabels(lines);
    apercu->resizeColumnsToContents();
    layout->addWidget(apercu, 1);

    auto *form = new QFormLayout;
    lstDate = column(QStringLiteral("&Date :"), "lstDate", form);
    lstLibelle = column(QStringLiteral("&Libellé :"), "lstLibelle", form);
    lstMontant = column(QStringLiteral("&Montant (signé) :"), "lstMontant", form);
    lstDebit = column(QStringLiteral("Dé&bit :"), "lstDebit", form);
    lstCredit = column(QStringLiteral("C&rédit :"), "lstCredit", form);
    edtDebut = new QSpinBox(this);
    edtDebut->setObjectName(QStringLiteral("edtDebut"));
    edtDebut->setRange(1, std::max<int>(1, int(table_.rows().size())));
    edtDebut->setValue(table_.rows().size() > 1 ? 2 : 1);
    form->addRow(QStringLiteral("&Première opération (rangée n°) :"), edtDebut);
    layout->addLayout(form);
    etqEtat = new QLabel(this);
    etqEtat->setWordWrap(true);
    layout->addWidget(etqEtat);

    auto *buttons = new QDialogButtonBox(this);
    btnOk = buttons->addButton(QStringLiteral("&Valider"), QDialogButtonBox::AcceptRole);
    btnOk->setObjectName(QStringLiteral("btnValider"));
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("A&nnuler"), QDialogButtonBox::RejectRole);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    for (QComboBox *box : {lstDate, lstLibelle, lstMontant, lstDebit, lstCredit})
        connect(box, &QComboBox::currentIndexChanged, this, &CsvColumnDialog::refresh);
    refresh();
    lstDate->setFocus();
    resize(760, 520);
}

QComboBox *CsvColumnDialog::column(const QString &label, const char *name, QFormLayout *form)
{
    auto *box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->addItem(QStringLiteral("(aucune)"), -1);
    for (int c = 0; c < table_.columnCount(); ++c)
        box->addItem(QStringLiteral("Colonne %1").arg(c + 1), c);
    form->addRow(label, box);
    return box;
}

CsvColumnChoice CsvColumnDialog::choice() const
{
    CsvColumnChoice c;
    c.date = lstDate->currentData().toInt();
    c.label = lstLibelle->currentData().toInt();
    c.amount = lstMontant->currentData().toInt();
    if (c.amount < 0) {
        c.debit = lstDebit->currentData().toInt();
        c.credit = lstCredit->currentData().toInt();
    }
    const size_t first = size_t(edtDebut->value() - 1);
    if (first < table_.rows().size()) {
        c.firstDataLine = table_.rows()[first].line;
        c.headerLine = first > 0 ? table_.rows()[first - 1].line : 0;
    }
    return c;
}

void CsvColumnDialog::refresh()
{
    const bool complete = choice().isComplete();
    btnOk->setEnabled(complete);
    etqEtat->setText(complete ? QString()
                              : QStringLiteral("Choisissez la date, le libellé, et soit le "
                                               "montant, soit le débit et le crédit."));
}
