#include "DossierPages.h"

#include "DossierContent.h"
#include "ProofViewMessages.h"

#include "platform/core/Formats.h"
#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"

#include <QImageReader>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace
{

constexpr int Dpi = 300;
constexpr int Margin = 150; // half an inch

struct Column {
    const char *title;
    int width; // in tenths of the printable width
    bool right;
};
const Column columns[] = {{"Date", 9, false}, {"Bénéficiaire", 17, false}, {"Médecin", 20, false},
                          {"Coût", 13, true}, {"C.P.A.M.", 13, true},      {"Payé le", 11, false},
                          {"Pièces", 8, true}};
constexpr int columnUnits = 91;

QStringList cells(const DossierContent::Care &care)
{
    const CareFacts &f = care.facts;
    return {Formats::date(f.date),
            f.beneficiary,
            f.doctor,
            Formats::money(f.cost),
            f.cpamPaid || f.cpam != 0 ? Formats::money(f.cpam) : QString(),
            f.cpamDate.isValid() ? Formats::date(f.cpamDate) : QString(),
            QString::number(care.proofs.size())};
}

class CoverPainter
{
public:
    CoverPainter(QPdfWriter &pdf, QPainter &painter) : pdf_(pdf), p_(painter)
    {
        width_ = pdf.width() - 2 * Margin;
        bottom_ = pdf.height() - Margin;
    }

    int paint(const DossierContent &content)
    {
        y_ = Margin;
        text(QStringLiteral("Demande de remboursement"), 18, true);
        text(QStringLiteral("Établie le %1").arg(Formats::fullDate(Today::date())), 10, false);
        y_ += 60;
        const QStringList &m = content.mutual;
        text(QStringLiteral("Destinataire"), 12, true);
        for (const QString &line : {m.value(0), m.value(1), m.value(2)})
            if (!line.trimmed().isEmpty())
                text(line, 11, false);
        if (!m.value(3).trimmed().isEmpty())
            text(QStringLiteral("Numéro d'assuré : %1").arg(m.value(3)), 11, false);
        if (!m.value(4).trimmed().isEmpty())
            text(QStringLiteral("Mode de règlement : %1").arg(m.value(4)), 11, false);
        y_ += 40;
        text(content.insured.size() > 1 ? QStringLiteral("Assurés") : QStringLiteral("Assuré"), 12,
             true);
        for (const QString &line : content.insured)
            text(line, 11, false);
        if (content.insured.isEmpty())
            text(QStringLiteral("(aucun assuré dans les informations générales)"), 11, false);
        y_ += 40;
        text(QStringLiteral("Soins"), 12, true);
        header();
        qint64 cost = 0, cpam = 0;
        for (const DossierContent::Care &care : content.cares) {
            row(cells(care), false);
            cost += care.facts.cost;
            cpam += care.facts.cpam;
        }
        row({QStringLiteral("Total"), QString(), QString(), Formats::money(cost),
             Formats::money(cpam), QString(), QString::number(content.proofCount())},
            true);
        y_ += 40;
        const int proofs = content.proofCount();
        text(proofs == 0 ? QStringLiteral("Aucune pièce justificative.")
                         : QStringLiteral("%1 pièce%2 justificative%2 à la suite, dans l'ordre des "
                                          "soins.")
                               .arg(proofs)
                               .arg(proofs > 1 ? QStringLiteral("s") : QString()),
             10, false);
        return pages_;
    }

private:
    void setFont(int points, bool bold)
    {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSize(points);
        font.setBold(bold);
        p_.setFont(font);
    }
    int lineHeight() const { return p_.fontMetrics().height() + 8; }
    void room(int height)
    {
        if (y_ + height <= bottom_)
            return;
        pdf_.newPage();
        ++pages_;
        y_ = Margin;
    }
    void text(const QString &line, int points, bool bold)
    {
        setFont(points, bold);
        room(lineHeight());
        p_.drawText(QRect(Margin, y_, width_, lineHeight()), Qt::AlignLeft | Qt::AlignVCenter,
                    p_.fontMetrics().elidedText(line, Qt::ElideRight, width_));
        y_ += lineHeight();
    }
    void header()
    {
        QStringList titles;
        for (const Column &c : columns)
            titles.append(QString::fromUtf8(c.title));
        row(titles, true);
    }
    void row(const QStringList &values, bool bold)
    {
        setFont(9, bold);
        const int h = lineHeight();
        if (y_ + h > bottom_) {
            room(h + 1);
            if (!bold)
                header();
            setFont(9, bold);
        }
        int x = Margin;
        for (int i = 0; i < values.size(); ++i) {
            const int w = width_ * columns[i].width / columnUnits;
            const QRect cell(x + 10, y_, w - 20, h);
            p_.drawText(cell,
                        (columns[i].right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                        p_.fontMetrics().elidedText(values[i], Qt::ElideRight, cell.width()));
            x += w;
        }
        p_.drawLine(Margin, y_ + h, Margin + width_, y_ + h);
        y_ += h;
    }

    QPdfWriter &pdf_;
    QPainter &p_;
    int width_ = 0, bottom_ = 0, y_ = 0, pages_ = 1;
};

void paintImage(QPainter &painter, QPdfWriter &pdf, const DossierContent::Proof &proof)
{
    QImageReader reader(proof.path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        throw PlatformError(ProofViewMessages::unreadableInDossier(proof.name));
    const QRect area(Margin, Margin, pdf.width() - 2 * Margin, pdf.height() - 2 * Margin);
    const QSize size = image.size().scaled(area.size(), Qt::KeepAspectRatio);
    const QRect target(area.x() + (area.width() - size.width()) / 2, area.y(), size.width(),
                       size.height());
    painter.drawImage(target, image);
}

} // namespace

int DossierPages::write(QIODevice &device, const DossierContent &content,
                        const std::vector<DossierContent::Proof> &images,
                        const std::function<void()> &step)
{
    QPdfWriter pdf(&device);
    pdf.setTitle(QStringLiteral("Demande de remboursement"));
    pdf.setCreator(QStringLiteral("Talo 3.0"));
    pdf.setResolution(Dpi);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&pdf))
        throw PlatformError(QStringLiteral("Les pages de garde n'ont pas pu être dessinées."));
    const int coverPages = CoverPainter(pdf, painter).paint(content);
    for (const DossierContent::Proof &proof : images) {
        pdf.newPage();
        paintImage(painter, pdf, proof);
        step();
    }
    painter.end();
    return coverPages;
}
