#include "Dialogs.h"

#include <QApplication>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QQueue>

namespace
{

struct Script {
    bool on = false;
    QQueue<Dialogs::Answer> answers;
    QQueue<std::optional<QString>> inputs;
    QList<Dialogs::Shown> shown;
};

Script &script()
{
    static Script s;
    return s;
}

QString caption()
{
    const QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? QStringLiteral("Talo 3.0") : title;
}

Dialogs::Answer scriptedAnswer(Dialogs::Kind kind, const QString &text, const QString &cap,
                               Dialogs::Answer fallback)
{
    Script &s = script();
    s.shown.append({kind, text, cap});
    return s.answers.isEmpty() ? fallback : s.answers.dequeue();
}

void message(QWidget *parent, Dialogs::Kind kind, QMessageBox::Icon icon, const QString &text)
{
    if (script().on) {
        scriptedAnswer(kind, text, caption(), Dialogs::Answer::Ok);
        return;
    }
    QMessageBox box(icon, caption(), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void Dialogs::information(QWidget *parent, const QString &text)
{
    message(parent, Kind::Information, QMessageBox::Information, text);
}

void Dialogs::warning(QWidget *parent, const QString &text)
{
    message(parent, Kind::Warning, QMessageBox::Warning, text);
}

void Dialogs::error(QWidget *parent, const QString &text)
{
    message(parent, Kind::Error, QMessageBox::Critical, text);
}

void Dialogs::plain(QWidget *parent, const QString &text)
{
    message(parent, Kind::Plain, QMessageBox::NoIcon, text);
}

bool Dialogs::question(QWidget *parent, const QString &text, Answer defaultAnswer)
{
    if (script().on)
        return scriptedAnswer(Kind::Question, text, caption(), Answer::No) == Answer::Yes;
    QMessageBox box(QMessageBox::Question, caption(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> Dialogs::inputText(QWidget *parent, const QString &caption,
                                          const QString &prompt, const QString &initial)
{
    Script &s = script();
    if (s.on) {
        s.shown.append({Kind::Input, prompt, caption});
        if (s.inputs.isEmpty())
            return std::nullopt;
        return s.inputs.dequeue();
    }
    QInputDialog dialog(parent);
    prepareInputDialog(dialog, caption, prompt, initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void Dialogs::prepareInputDialog(QInputDialog &dialog, const QString &caption,
                                 const QString &prompt, const QString &initial)
{
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(initial);
    // The dialog's layout sets the dialog's own minimum size: the edit carries the width.
    if (auto *edit = dialog.findChild<QLineEdit *>()) {
        const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
        edit->setMinimumWidth(captionWidth(caption) - margins.left() - margins.right());
    }
}

int Dialogs::captionWidth(const QString &caption)
{
    // Window managers draw titles in a bold face of about this size; the frame holds an icon
    // and up to three buttons of the title bar's height, and some margin.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int button = metrics.height() + 8;
    return metrics.horizontalAdvance(caption) + 4 * button + 16;
}

Qt::WindowFlags Dialogs::dialogBorder()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

void Dialogs::startScripting()
{
    Script &s = script();
    s = Script();
    s.on = true;
}

void Dialogs::stopScripting()
{
    script() = Script();
}

bool Dialogs::scripting()
{
    return script().on;
}

void Dialogs::queueAnswer(Answer answer)
{
    script().answers.enqueue(answer);
}

void Dialogs::queueInput(const QString &text)
{
    script().inputs.enqueue(text);
}

void Dialogs::queueInputCancel()
{
    script().inputs.enqueue(std::nullopt);
}

const QList<Dialogs::Shown> &Dialogs::shown()
{
    return script().shown;
}

QStringList Dialogs::shownTexts()
{
    QStringList texts;
    for (const Shown &s : script().shown)
        texts.append(s.text);
    return texts;
}

void Dialogs::clearShown()
{
    script().shown.clear();
}
