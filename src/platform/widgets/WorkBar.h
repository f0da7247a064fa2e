#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress bar of a long piece of work: a label, the bar (moving to and fro while how much
// is left is not known) and, where stopping loses nothing, "Annuler". Its close box and Échap
// ask to stop as "Annuler" does; the bar itself never goes before the work has ended.
class WorkBar : public QDialog
{
    Q_OBJECT

public:
    WorkBar(QWidget *parent, const QString &title, const QString &label, bool cancelOffered);

    void setLabel(const QString &label);
    void setProgress(qint64 done, qint64 total);
    // "Annuler" goes for good.
    void withdrawCancel();
    // Once asked to stop: the work is winding down.
    void showStopping();
    bool cancelOffered() const;

    static QString stoppingLabel();

Q_SIGNALS:
    void stopAsked();

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *label_;
    QProgressBar *bar_;
    QPushButton *cancel_;
};
