#include "DetailsBox.h"

#include "platform/widgets/SingleLineText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

DetailsBox::DetailsBox(const QString &name, const QString &caption, QWidget *parent)
    : CaptionBox(name, caption, parent)
{
    rows_ = new QGridLayout(content());
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setHorizontalSpacing(8);
    rows_->setVerticalSpacing(0);
    rows_->setColumnStretch(1, 1);
}

QLineEdit *DetailsBox::addRow(const QString &editName, const QString &label)
{
    auto *edit = new QLineEdit(content());
    edit->setObjectName(editName);
    edit->setFrame(false);
    SingleLineText::install(edit);
    // The box's colour rather than the white of an entry field: the value reads as text.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    // Without a border the edit needs no more height than its text: the rows stay close.
    edit->setFixedHeight(edit->fontMetrics().height() + 2);
    auto *caption = new QLabel(label, content());
    caption->setObjectName(QStringLiteral("etq") + editName.mid(3));
    caption->setBuddy(edit);
    const int row = int(edits_.size());
    rows_->addWidget(caption, row, 0);
    rows_->addWidget(edit, row, 1);
    edits_.append(edit);
    return edit;
}
