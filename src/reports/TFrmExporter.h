#pragma once

#include <QDialog>

class QRadioButton;
class QPushButton;
class Table;

// " Exporter": one of the register (as filtered in the main window), the doctors and the
// insured persons, written to a CSV file chosen in the file dialog.
class TFrmExporter : public QDialog
{
    Q_OBJECT

public:
    enum class Choice { Register, Doctors, Insured };

    TFrmExporter(Table &care, Table &doctors, Table &insured, QWidget *parent = nullptr);

    Choice choice() const;
    static QString suggestedName(Choice choice);
    static constexpr int helpContext = 46;
    // Writes the chosen table to `path` (".csv" added when it has no suffix) and tells the
    // user how it went; true when the file is written.
    bool exportTo(Choice choice, const QString &path);

    // Handlers.
    void btnExporterClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Table &table(Choice choice);

    Table &register_;
    Table &doctors_;
    Table &insured_;
    QRadioButton *rbRegistre = nullptr;
    QRadioButton *rbMedecins = nullptr;
    QRadioButton *rbAssures = nullptr;
    QPushButton *btnExporter = nullptr;
    QPushButton *btnAnnuler = nullptr;
    QPushButton *btnAide = nullptr;
};
