#pragma once

#include <QAbstractTableModel>

class ImportSession;
struct StatementLine;

// The statement's payments as the import window lists them (date, label, payer, amount,
// state), each cell made when it is drawn, so that a statement of thousands of payments opens
// at once. A long label is cut, its whole text in the tooltip.
class PaymentListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Label, Payer, Amount, State, Columns };
    // Labels longer than this are cut with an ellipsis.
    static constexpr int LabelShown = 40;

    explicit PaymentListModel(const ImportSession &session, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The states changed (a choice made): every row's state is drawn again.
    void statesChanged();

    // The label cut to `shown` characters with an ellipsis, blanks simplified.
    static QString cut(const QString &label, int shown = LabelShown);

private:
    const ImportSession &session_;
};
