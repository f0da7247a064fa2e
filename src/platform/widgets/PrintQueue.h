#pragma once

#include <QString>

// The print server (CUPS) as the report printer needs it: jobs handed over by the program
// itself, so that a queue refusing them or a server that does not answer is known and told,
// which printing through QPrinter keeps silent.
namespace PrintQueue
{

// Sends the PDF file at `pdfPath` to the queue `printer` as one job named `title`.
// Throws PlatformError (the document could not be sent, and why) when the server does not
// take the job.
void submit(const QString &printer, const QString &pdfPath, const QString &title);

// Empty when the print server answers; otherwise the French reason why it cannot be
// reached (then "no printer" cannot be told from "server down").
QString serverFault();

} // namespace PrintQueue
