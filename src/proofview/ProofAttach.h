#pragma once

#include <QStringList>

class ProofStore;
class QWidget;

// Attaching files to a care entry as a person does it: the file dialog (several files, PDF,
// JPEG and PNG), or files dropped from the file manager. A refusal is shown with its French
// reason and nothing of the batch is kept.
namespace ProofAttach
{

// The files chosen in the dialog; empty when it is cancelled.
QStringList chooseFiles(QWidget *parent);
// Attaches `files`; false (after the message box) when refused or when there is nothing to do.
bool attach(QWidget *parent, ProofStore &store, qint64 entryNumber, const QStringList &files);

} // namespace ProofAttach
