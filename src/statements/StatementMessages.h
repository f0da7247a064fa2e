#pragma once

#include <QString>

// The French texts of the reading of bank statements.
namespace StatementMessages
{

QString cannotOpen(const QString &file, const QString &reason);
QString empty(const QString &file);
QString tooLarge(const QString &file);
// "Le relevé « file » ne peut pas être importé : ligne N : reason"
QString atLine(const QString &file, int line, const QString &reason);
// The same when no line is to blame (the reading as a whole failed).
QString notRead(const QString &file, const QString &reason);

// Reasons, completed by atLine.
QString notText();
QString unclosedQuote();
QString noColumns();
QString noOperations();
QString notOfx();
QString unclosedTag();
QString transactionInTransaction(int openedAt);
QString endWithoutStart();
QString truncatedInTransaction(int openedAt);
QString truncatedBeforeEnd();
QString missingOfxField(const QString &tag);
QString badOfxDate(const QString &text);
QString badOfxAmount(const QString &text);
QString ofxRefused();
QString ofxReaderFailed();
QString missingCells(int found, int needed);
QString badDate(const QString &text);
QString missingAmount();
QString badAmount(const QString &text);
QString debitAndCredit();
QString noDate();
QString noTransactions();
QString columnsOutOfRange();

} // namespace StatementMessages
