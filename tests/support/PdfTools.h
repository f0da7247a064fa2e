#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Reads PDF files back with poppler's command-line tools, to check what a report wrote.
namespace PdfTools
{

// The standard output of `program`, or a text in angle brackets saying why it failed.
inline QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text, laid out as on the page; pages are separated by form feeds.
inline QString text(const QString &file)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
}

inline QString info(const QString &file)
{
    return run(QStringLiteral("pdfinfo"), {file});
}

// The page count that pdfinfo reports, -1 when it cannot read the file.
inline int pageCount(const QString &file)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)\\n"));
    const QRegularExpressionMatch match = pages.match(info(file));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace PdfTools
