#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// At the right of the entry pages' tabs: how many proofs the current entry has, "Joindre..."
// (Ctrl+J) and "Pièces jointes..." (Ctrl+Maj+J). The buttons take no focus, so that a click
// leaves the caret where it was typing; the keyboard reaches them by their shortcuts and the
// menu "Fichier".
class ProofCorner : public QWidget
{
    Q_OBJECT

public:
    explicit ProofCorner(QWidget *parent = nullptr);

    // The count of the entry in view; a negative count (no entry, or the count unknown) shows
    // nothing.
    void showCount(int proofs);

    QLabel *etqPieces;
    QToolButton *btnJoindre;
    QToolButton *btnPieces;
};
