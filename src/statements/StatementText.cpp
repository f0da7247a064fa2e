#include "StatementText.h"

#include "platform/core/Windows1252.h"

#include <QStringDecoder>

StatementText StatementText::decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.mid(3)), QStringLiteral("UTF-8")};
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16, QStringDecoder::Flag::Stateless);
        QString text = utf16(bytes);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return {text, QStringLiteral("UTF-16")};
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return {text, QStringLiteral("UTF-8")};
    return {Windows1252::decode(bytes), QStringLiteral("Windows-1252")};
}

int StatementText::firstLineNotText(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QChar(0x1A))
        --end;
    int line = 1;
    for (qsizetype i = 0; i < end; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\n')
            ++line;
        else if (c < 0x20 && c != u'\t' && c != u'\r')
            return line;
    }
    return 0;
}
