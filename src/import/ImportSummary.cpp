#include "ImportSummary.h"

#include "ImportSession.h"
#include "platform/core/Formats.h"

#include <QFileInfo>

namespace
{

constexpr int LineHeight = 18;

// Places lines of up to four cells, starting new pages as the printable height fills.
class Writer
{
public:
    explicit Writer(const ReportPageGeometry &geometry) : area_(geometry.printableRect())
    {
        newPage();
    }

    void line(const QStringList &cells, ReportFont font = ReportFont::regular(12))
    {
        const qreal height = std::max<qreal>(LineHeight, font.pixelSize * 1.5);
        if (y_ + height > area_.bottom())
            newPage();
        // Date, label (wide), and two amounts right-aligned.
        static constexpr qreal share[] = {0.14, 0.56, 0.15, 0.15};
        qreal x = area_.left();
        for (int i = 0; i < cells.size() && i < 4; ++i) {
            // A lone cell (a heading) takes the whole width.
            const qreal w = cells.size() == 1 ? area_.width() : area_.width() * share[i];
            ReportPlacedText t;
            t.text = cells[i];
            t.rect = QRectF(x, y_, w - 4, height);
            t.font = font;
            t.alignment = i >= 2 ? Qt::AlignRight : Qt::AlignLeft;
            t.elide = true;
            pages_.last().texts.append(t);
            x += w;
        }
        y_ += height;
    }
    void rule()
    {
        pages_.last().lines.append(QLineF(area_.left(), y_ + 2, area_.right(), y_ + 2));
        y_ += 6;
    }
    void gap() { y_ += LineHeight / 2; }
    QList<ReportPage> take() { return std::move(pages_); }

private:
    void newPage()
    {
        ReportPage page;
        page.number = int(pages_.size()) + 1;
        pages_.append(page);
        y_ = area_.top();
    }

    QRectF area_;
    qreal y_ = 0;
    QList<ReportPage> pages_;
};

} // namespace

QString ImportSummary::title()
{
    return QStringLiteral("Remboursements importés d'un relevé");
}

QList<ReportPage> ImportSummary::pages(const ImportSession &session, const QString &fileName,
                                       const QDate &printedOn, const ReportPageGeometry &geometry)
{
    Writer w(geometry);
    w.line({title()}, ReportFont::boldFont(18));
    w.gap();
    w.line({QString(), QStringLiteral("Relevé « %1 », le %2")
                           .arg(QFileInfo(fileName).fileName(), Formats::fullDate(printedOn))});
    w.rule();
    QList<QStringList> left;
    for (size_t i = 0; i < session.paymentCount(); ++i) {
        const PaymentProposal &p = session.payment(i);
        const QString payment =
            QStringLiteral("%1 — %2").arg(AwaitedPayers::text(p.payer), p.line.label);
        if (session.chosen(i) == ImportSession::None) {
            left.append({Formats::fullDate(p.line.date), payment,
                         ImportSession::money(p.line.cents), session.state(i)});
            continue;
        }
        w.gap();
        w.line({Formats::fullDate(p.line.date), payment, QString(),
                ImportSession::money(p.line.cents)},
               ReportFont::boldFont(12));
        const std::vector<ProposedShare> &entries = session.entries(i);
        for (size_t k = 0; k < entries.size(); ++k) {
            const CareFacts &e = entries[k].entry;
            w.line({Formats::fullDate(e.date),
                    QStringLiteral("   %1, %2 (coût %3)")
                        .arg(e.beneficiary, e.doctor, ImportSession::money(e.cost)),
                    ImportSession::money(session.shares(i)[k]), QString()});
        }
    }
    w.rule();
    w.line({QString(), QStringLiteral("Total écrit : %1 soin(s)").arg(session.writtenEntries()),
            QString(), ImportSession::money(session.writtenTotal())},
           ReportFont::boldFont(12));
    if (!left.isEmpty()) {
        w.gap();
        w.line({QString(), QStringLiteral("Paiements laissés de côté")}, ReportFont::boldFont(12));
        // The reason takes the label's place on a line of its own: it is a sentence.
        for (const QStringList &l : left) {
            w.line({l[0], l[1], l[2]});
            w.line({QString(), QStringLiteral("   ") + l[3]});
        }
    }
    if (const size_t others = session.result().otherCredits.size(); others > 0) {
        w.gap();
        w.line({QString(), QStringLiteral("Autres crédits, laissés de côté : %1").arg(others)});
    }
    return w.take();
}
