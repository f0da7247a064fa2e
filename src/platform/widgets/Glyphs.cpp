#include "Glyphs.h"

#include "GlyphDrawing.h"

#include <QPainter>

namespace
{

// Sizes held by every icon: the button sizes, and larger ones for high-density screens.
constexpr int iconSizes[] = {16, 20, 22, 24, 32, 48};

QPixmap canvas(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon Glyphs::icon(Id id)
{
    // Not cached: a static QIcon would outlive the application object.
    QIcon icon;
    for (int size : iconSizes)
        icon.addPixmap(pixmap(id, size), QIcon::Normal);
    return icon;
}

QPixmap Glyphs::pixmap(Id id, int size)
{
    QPixmap result = canvas(size);
    QPainter p(&result);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p, id);
    return result;
}

QPixmap Glyphs::logo(int size)
{
    QPixmap result = canvas(size);
    QPainter p(&result);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    GlyphDrawing::logo(p);
    return result;
}

QList<Glyphs::Id> Glyphs::all()
{
    QList<Id> ids;
    for (int i = 0; i <= static_cast<int>(Id::RemoveName); ++i)
        ids.append(static_cast<Id>(i));
    return ids;
}

void Glyphs::draw(QPainter &p, Id id)
{
    switch (id) {
    case Id::Informations:
        return GlyphDrawing::informations(p);
    case Id::Doctors:
        return GlyphDrawing::doctors(p);
    case Id::BeneficiaryList:
        return GlyphDrawing::beneficiaryList(p);
    case Id::Preview:
        return GlyphDrawing::preview(p);
    case Id::Password:
        return GlyphDrawing::password(p);
    case Id::Print:
        return GlyphDrawing::print(p);
    case Id::Backup:
        return GlyphDrawing::backup(p);
    case Id::Help:
        return GlyphDrawing::help(p);
    case Id::Quit:
        return GlyphDrawing::quit(p);
    case Id::First:
        return GlyphDrawing::first(p);
    case Id::Prior:
        return GlyphDrawing::prior(p);
    case Id::Next:
        return GlyphDrawing::next(p);
    case Id::Last:
        return GlyphDrawing::last(p);
    case Id::Insert:
        return GlyphDrawing::insert(p);
    case Id::Delete:
        return GlyphDrawing::remove(p);
    case Id::Post:
        return GlyphDrawing::post(p);
    case Id::Cancel:
        return GlyphDrawing::cancel(p);
    case Id::AddName:
        return GlyphDrawing::addName(p);
    case Id::RemoveName:
        return GlyphDrawing::removeName(p);
    }
}
