#include "TextCollation.h"

#include <QCollator>
#include <QLocale>

namespace
{

const QCollator &french()
{
    // One per thread: a collator is not to be shared between threads (rows are sorted on a
    // second thread while the window thread compares texts).
    thread_local const QCollator collator(QLocale(QLocale::French, QLocale::France));
    return collator;
}

} // namespace

int TextCollation::compare(const QString &a, const QString &b)
{
    // Rows share the storage of repeated texts: equal ones cost no collation.
    if (a == b)
        return 0;
    const int c = french().compare(a, b);
    if (c != 0)
        return c < 0 ? -1 : 1;
    // Texts the collation holds equal (composed and decomposed accents) still get one order.
    return a.compare(b) < 0 ? -1 : 1;
}

QString TextCollation::searchKey(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        switch (c.toCaseFolded().unicode()) {
        case 0x0153: // œ
            key += QLatin1String("oe");
            break;
        case 0x00E6: // æ
            key += QLatin1String("ae");
            break;
        case 0x00DF: // ß
            key += QLatin1String("ss");
            break;
        default:
            key += c.toCaseFolded();
        }
    }
    return key;
}
