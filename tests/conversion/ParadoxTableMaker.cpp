#include "ParadoxTableMaker.h"

#include "conversion/PxlibApi.h"
#include "platform/core/Windows1252.h"

#include <QDate>
#include <QFile>

namespace ParadoxTableMaker
{

namespace
{
constexpr int Memo = 250; // 240 bytes kept in the record, and the reference to the .MB file
Field alpha(const char *name, int size)
{
    return {QString::fromUtf8(name), pxfAlpha, size};
}
Field of(const char *name, int type, int length)
{
    return {QString::fromUtf8(name), type, length};
}
} // namespace

std::vector<Field> careEntryFields()
{
    return {of("Date soins", pxfDate, 4),
            alpha("Beneficiaire", 20),
            alpha("Medecin", 25),
            alpha("Specialite", 30),
            alpha("Paiement", 15),
            of("Cout", pxfCurrency, 8),
            of("Note soins", pxfMemoBLOb, Memo),
            of("Date CPAM", pxfDate, 4),
            of("Base", pxfCurrency, 8),
            of("Montant CPAM", pxfCurrency, 8),
            of("Note CPAM", pxfMemoBLOb, Memo),
            alpha("CPAM oui/non", 5),
            of("Date mutuelle", pxfDate, 4),
            of("Montant mutuelle", pxfCurrency, 8),
            of("Note mutuelle", pxfMemoBLOb, Memo),
            alpha("Mutuelle oui/non", 5),
            of("Estimation", pxfCurrency, 8),
            of("Numero", pxfAutoInc, 4)};
}

std::vector<Field> doctorFields()
{
    return {alpha("Nom", 30),   alpha("Prenom", 20),        alpha("Specialite", 25),
            alpha("Ville", 25), alpha("Adresse", 40),       alpha("Code postale", 5),
            alpha("Tel", 15),   of("Numero", pxfAutoInc, 4)};
}

std::vector<Field> insuredFields()
{
    return {alpha("Nom", 20),           alpha("Prenom", 20), alpha("Naissance", 10),
            alpha("NumSS", 20),         alpha("Droits", 10), alpha("AyantDr", 5),
            of("Numero", pxfAutoInc, 4)};
}

std::vector<Field> fieldsOf(const QString &tableFile)
{
    if (tableFile.startsWith(QLatin1String("TALO")))
        return careEntryFields();
    if (tableFile.startsWith(QLatin1String("MEDECINS")))
        return doctorFields();
    return insuredFields();
}

void write(const QString &tablePath, const QString &memoPath, const std::vector<Field> &fields,
           const std::vector<std::vector<QVariant>> &rows)
{
    QFile::remove(tablePath);
    if (!memoPath.isEmpty())
        QFile::remove(memoPath);
    pxdoc_t *doc = PX_new();
    // pxlib owns the field array and names, and frees them with its own allocator.
    auto *defs =
        static_cast<pxfield_t *>(doc->malloc(doc, fields.size() * sizeof(pxfield_t), "fields"));
    for (size_t i = 0; i < fields.size(); ++i) {
        defs[i].px_fname = PX_strdup(doc, fields[i].name.toLatin1().constData());
        defs[i].px_ftype = char(fields[i].type);
        defs[i].px_flen = fields[i].length;
        defs[i].px_fdc = 0;
    }
    if (PX_create_file(doc, defs, int(fields.size()), QFile::encodeName(tablePath).constData(),
                       pxfFileTypNonIndexDB) < 0)
        qFatal("pxlib cannot create %s", qPrintable(tablePath));
    if (!memoPath.isEmpty() && PX_set_blob_file(doc, QFile::encodeName(memoPath).constData()) < 0)
        qFatal("pxlib cannot create %s", qPrintable(memoPath));
    for (const auto &row : rows) {
        std::vector<pxval_t *> values(fields.size());
        std::vector<QByteArray> texts(fields.size());
        for (size_t i = 0; i < fields.size(); ++i) {
            MAKE_PXVAL(doc, values[i]);
            pxval_t *v = values[i];
            const QVariant &value = i < row.size() ? row[i] : QVariant();
            v->type = fields[i].type;
            v->isnull = !value.isValid();
            if (!value.isValid())
                continue;
            if (value.typeId() == QMetaType::QString) {
                texts[i] = Windows1252::encode(value.toString()).value_or("?");
                v->value.str.val = texts[i].data();
                v->value.str.len = int(texts[i].size());
            } else if (value.typeId() == QMetaType::QDate) {
                v->value.lval = long(value.toDate().toJulianDay() - 1721425);
            } else if (value.typeId() == QMetaType::Double) {
                v->value.dval = value.toDouble();
            } else {
                v->value.lval = long(value.toLongLong());
            }
        }
        if (PX_insert_record(doc, values.data()) < 0)
            qFatal("pxlib cannot insert a row into %s", qPrintable(tablePath));
        for (pxval_t *v : values)
            FREE_PXVAL(doc, v);
    }
    PX_close(doc);
    PX_delete(doc);
}

} // namespace ParadoxTableMaker
