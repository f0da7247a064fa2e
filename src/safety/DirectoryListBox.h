#pragma once

#include <QTreeWidget>

// A classic directory list: the current folder's ancestors from the root down, the current
// folder open and selected, then its sub-folders. Double-click or Enter on a folder enters
// it. Enter is consumed here, so that it never also presses the dialog's default button.
class DirectoryListBox : public QTreeWidget
{
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole;

    explicit DirectoryListBox(QWidget *parent = nullptr);

    // The current folder: absolute, without a trailing separator except for the root.
    QString directory() const { return directory_; }
    // Moves to `path`; a folder that does not exist (or no longer does) gives its nearest
    // existing ancestor.
    void setDirectory(const QString &path);
    // Reads the folders again (some may have appeared or vanished since).
    void refresh();

    // The full paths of the rows, top to bottom, for tests and the caller.
    QStringList shownPaths() const;

Q_SIGNALS:
    void directoryChanged(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // No expand arrows: every row is always open, as in a classic directory list.
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override {}

private:
    void rebuild();
    void enterItem(QTreeWidgetItem *item);

    QString directory_;
};
