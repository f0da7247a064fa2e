#include "ReportButtons.h"

#include "platform/widgets/Glyphs.h"
#include "platform/widgets/Help.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>

QHBoxLayout *ReportButtons::create(QDialog &window, LaidOutReport report, int helpContext,
                                   QWidget *leading)
{
    auto *row = new QHBoxLayout;
    if (leading)
        row->addWidget(leading);
    row->addStretch();
    const auto add = [&window, row](const QString &text, Glyphs::Id glyph, const char *name) {
        auto *b = new QPushButton(Glyphs::icon(glyph), text, &window);
        b->setObjectName(QLatin1String(name));
        // Enter belongs to the window's list, never to a default button.
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    };
    QWidget *parent = &window;
    const auto help = [parent, helpContext] { Help::showContext(parent, helpContext); };
    QObject::connect(add(QStringLiteral("A&perçu"), Glyphs::Id::Preview, "btnApercu"),
                     &QPushButton::clicked, parent, [parent, report] { report.preview(parent); });
    QObject::connect(add(QStringLiteral("&Imprimer"), Glyphs::Id::Print, "btnImprimer"),
                     &QPushButton::clicked, parent, [parent, report] { report.print(parent); });
    QObject::connect(add(QStringLiteral("&Aide"), Glyphs::Id::Help, "btnAide"),
                     &QPushButton::clicked, parent, help);
    QObject::connect(add(QStringLiteral("&Fermer"), Glyphs::Id::Quit, "btnFermer"),
                     &QPushButton::clicked, &window, &QDialog::reject);
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_F1), &window), &QShortcut::activated,
                     parent, help);
    return row;
}
