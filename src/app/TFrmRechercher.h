#pragma once

#include "register/CareSearch.h"

#include <QDialog>

#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QTableView;
class SearchResultModel;
class Table;

// " Rechercher": care entries of the whole register found as the person types (words,
// amounts, dates, periods), the most recent first. Down goes from the field to the list; Enter
// (or a double-click) on a line closes the window and names that entry for the main window
// to show.
class TFrmRechercher : public QDialog
{
    Q_OBJECT

public:
    static constexpr int helpContext = 62;

    // `typed` is what was searched last time, offered again selected.
    TFrmRechercher(const Table &table, const QString &typed, QWidget *parent = nullptr);
    ~TFrmRechercher() override;

    const std::optional<CareSearchHit> &choice() const { return choice_; }
    QString typed() const;

    // Handlers.
    void chpRechercheChange();
    void chooseLine(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool fieldKey(int key);
    bool gridKey(const QKeyEvent &event);

    CareSearch search_;
    std::optional<CareSearchHit> choice_;

    QLineEdit *chpRecherche = nullptr;
    QLabel *etqResultats = nullptr;
    QTableView *grilleResultats = nullptr;
    SearchResultModel *model_ = nullptr;
};
