#pragma once

#include "register/CareFacts.h"

#include <QStringList>

#include <functional>
#include <vector>

class ProofStore;
class QWidget;

// "Dossier pour la mutuelle...": asks where to write the file, then writes it for the cares
// given (in their order) with every proof of each, a French progress bar when it takes long,
// and says where the file is or why it could not be written.
namespace DossierCommand
{

struct Sender {
    QStringList insured; // one line per insured person
    QStringList mutual;  // the mutuelle's five details
};

// Where the file goes; empty when the person cancels. Tests replace the dialog.
using FileNameQuery = std::function<QString(QWidget *parent, const QString &suggested)>;
void setFileNameQueryForTesting(FileNameQuery query);

// The file written, or empty (after the message box) when nothing was.
QString run(QWidget *parent, ProofStore &store, const Sender &sender,
            const std::vector<CareFacts> &cares);

} // namespace DossierCommand
