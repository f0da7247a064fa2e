#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

#include <optional>

class QInputDialog;
class QWidget;

// Every modal box of the program goes through here: message boxes with the application title
// as caption, yes/no questions and the one-line input dialog. Tests script the answers: once
// scripting is on, nothing is shown, every box is recorded and answered from the queue.
namespace Dialogs
{

enum class Kind { Information, Warning, Error, Plain, Question, Input };
enum class Answer { Ok, Yes, No, Cancel };

struct Shown {
    Kind kind;
    QString text;
    QString caption;
};

void information(QWidget *parent, const QString &text);
void warning(QWidget *parent, const QString &text);
void error(QWidget *parent, const QString &text);
void plain(QWidget *parent, const QString &text);
// Yes/No question; true when the user answers Yes. `defaultAnswer` is the button Enter
// presses: No where leaving with a loss should take a deliberate choice.
bool question(QWidget *parent, const QString &text, Answer defaultAnswer = Answer::Yes);
// One-line input; the text on OK, nothing on Cancel.
std::optional<QString> inputText(QWidget *parent, const QString &caption, const QString &prompt,
                                 const QString &initial);

// Sets up `dialog` as the one-line input inputText shows, sized so that its whole caption fits
// in its title bar.
void prepareInputDialog(QInputDialog &dialog, const QString &caption, const QString &prompt,
                        const QString &initial);
// The width a window needs for `caption` to show whole: its width in the title font plus an
// allowance for the frame's icon and buttons.
int captionWidth(const QString &caption);

// The window flags of a dialog border: title and close box only, fixed size.
Qt::WindowFlags dialogBorder();

// Test hooks.
void startScripting();
void stopScripting();
bool scripting();
// Answers for the next boxes, in order. A question with no queued answer gets No, an input
// with none gets Cancel, a message gets OK.
void queueAnswer(Answer answer);
void queueInput(const QString &text);
void queueInputCancel();
const QList<Shown> &shown();
QStringList shownTexts();
void clearShown();

} // namespace Dialogs
