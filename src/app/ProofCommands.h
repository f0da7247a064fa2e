#pragma once

#include "register/CareFacts.h"

#include <QStringList>

#include <vector>

class QWidget;
class TFrmPrincipale;

// The main window's commands over proofs: attach files to the entry in view (chosen in the
// file dialog or dropped), list them, and make the file for the mutuelle. An entry being
// typed is posted first: a person who has just typed a care and presses "Joindre..." expects
// the bill to go with that care, which needs its number.
namespace ProofCommands
{

// `files` empty: the file dialog asks for them.
void attach(TFrmPrincipale &main, const QStringList &files);
void list(TFrmPrincipale &main);
// The file for the mutuelle over `cares`, the window `from` owning its boxes.
void dossier(TFrmPrincipale &main, QWidget *from, const std::vector<CareFacts> &cares);
// The entry in view (its number), 0 for none or a new entry not yet written.
qint64 entryInView(TFrmPrincipale &main);

} // namespace ProofCommands
