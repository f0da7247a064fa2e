#include "ProofCorner.h"

#include "proofview/ProofViewMessages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace
{
QToolButton *button(const char *name, const QString &text, const QString &hint, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolTip(hint);
    b->setAccessibleName(text);
    b->setAccessibleDescription(hint);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRaise(true);
    return b;
}
} // namespace

ProofCorner::ProofCorner(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("cadrePieces"));
    etqPieces = new QLabel(this);
    etqPieces->setObjectName(QStringLiteral("etqPieces"));
    btnJoindre = button("btnJoindre", QStringLiteral("Joindre..."),
                        QStringLiteral("Joindre des pièces justificatives au soin (Ctrl+J)"), this);
    btnPieces =
        button("btnPieces", QStringLiteral("Pièces jointes..."),
               QStringLiteral("Voir, renommer ou supprimer les pièces du soin (Ctrl+Maj+J)"), this);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 2, 0);
    row->setSpacing(4);
    row->addWidget(etqPieces);
    row->addWidget(btnJoindre);
    row->addWidget(btnPieces);
    showCount(-1);
}

void ProofCorner::showCount(int proofs)
{
    etqPieces->setText(proofs < 0 ? QString() : ProofViewMessages::count(proofs));
    btnPieces->setEnabled(proofs > 0);
}
