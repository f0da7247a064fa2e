#pragma once

#include "ImportSession.h"

#include <QDialog>
#include <QList>
#include <QSet>

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

// The entries a payment may have paid, newest first, each with a check box: Space checks the
// row in focus, Enter confirms, Échap cancels. An entry another payment of the same payer keeps
// is listed greyed, not checkable, with that payment named. What is checked is totalled against
// the payment as it is checked; Valider stays disabled while nothing is.
class TFrmChoixSoins : public QDialog
{
    Q_OBJECT

public:
    // `pickable` as ImportSession::pickable(payment) gives them.
    TFrmChoixSoins(const ImportSession &session, size_t payment,
                   std::vector<PickableShare> pickable, const QSet<qint64> &checked,
                   QWidget *parent = nullptr);

    // The row ids checked, in the list's order.
    QList<qint64> rows() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();

    bool checkable(int row) const;

    std::vector<PickableShare> entries_;
    qint64 payment_ = 0;
    QTableWidget *grilleSoins = nullptr;
    QLabel *etqChoix = nullptr;
    QPushButton *btnValider = nullptr;
};
