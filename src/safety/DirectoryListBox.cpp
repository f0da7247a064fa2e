#include "DirectoryListBox.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace
{

QString normalised(const QString &path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

// The folder itself if it exists, otherwise its nearest existing ancestor.
QString existingFolder(QString path)
{
    while (!QFileInfo(path).isDir()) {
        const QString up = QFileInfo(path).absolutePath();
        if (up == path)
            break;
        path = up;
    }
    return path;
}

} // namespace

DirectoryListBox::DirectoryListBox(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(12);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long folder names scroll sideways rather than being cut short.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &DirectoryListBox::enterItem);
    directory_ = normalised(QDir::homePath());
}

void DirectoryListBox::setDirectory(const QString &path)
{
    const QString folder = existingFolder(normalised(path));
    const bool changed = folder != directory_;
    directory_ = folder;
    rebuild();
    if (changed)
        Q_EMIT directoryChanged(directory_);
}

void DirectoryListBox::refresh()
{
    setDirectory(directory_);
}

QStringList DirectoryListBox::shownPaths() const
{
    QStringList paths;
    for (QTreeWidgetItemIterator it(const_cast<DirectoryListBox *>(this)); *it; ++it)
        paths.append((*it)->data(0, PathRole).toString());
    return paths;
}

void DirectoryListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        enterItem(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void DirectoryListBox::enterItem(QTreeWidgetItem *item)
{
    if (item)
        setDirectory(item->data(0, PathRole).toString());
}

void DirectoryListBox::rebuild()
{
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the root down to the current folder.
    QStringList chain;
    for (QString path = directory_;;) {
        chain.prepend(path);
        const QString up = QFileInfo(path).absolutePath();
        if (up == path || QDir(path).isRoot())
            break;
        path = up;
    }

    QTreeWidgetItem *parentItem = nullptr;
    for (const QString &path : chain) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        auto *item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setText(0, name);
        item->setIcon(0, open);
        item->setData(0, PathRole, path);
        item->setToolTip(0, path);
        parentItem = item;
    }
    QTreeWidgetItem *current = parentItem;

    const QStringList children =
        QDir(directory_)
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &child : children) {
        auto *item = new QTreeWidgetItem(current);
        item->setText(0, child);
        item->setIcon(0, closed);
        const QString path = QDir(directory_).filePath(child);
        item->setData(0, PathRole, path);
        item->setToolTip(0, path);
    }
    expandAll();
    setCurrentItem(current);
    scrollToItem(current);
}
