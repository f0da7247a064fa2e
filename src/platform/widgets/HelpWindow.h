#pragma once

#include <QStringList>
#include <QWidget>

class QTextBrowser;
class QTextDocument;
class QToolButton;

// The help reader: the program's HTML help file in a QTextBrowser, with buttons for the
// contents page and for going back and forward through the topics visited.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows `file` at `anchor`, or at its top when the document has no such anchor. The file
    // is read again only when it is another file than the one shown.
    void open(const QString &file, const QString &anchor);

    QTextBrowser *browser() const { return browser_; }
    // The anchor shown last by open(), or by following a link; empty at the top of the file.
    QString currentAnchor() const;
    bool hasAnchor(const QString &anchor) const;

    // Puts the whole window, frame included, inside the available part of its screen, smaller
    // when the screen is (a 768-pixel screen must show its bottom); `centre` on its first show.
    void placeOnScreen(bool centre);

    // Every anchor name that `document` defines, in document order.
    static QStringList anchorNames(const QTextDocument *document);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showContentsPage();
    void updateButtons();

    QTextBrowser *browser_;
    QToolButton *btnSommaire_;
    QToolButton *btnPrecedent_;
    QToolButton *btnSuivant_;
    QString file_;
};
