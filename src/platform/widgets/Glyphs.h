#pragma once

#include <QIcon>
#include <QPixmap>

class QPainter;

// The program's own pictograms, drawn in code on a 24-unit grid so that tool buttons and
// navigators are never blank on a desktop without an icon theme. Each icon holds pixmaps at the
// usual button sizes; QIcon derives the disabled look from them.
namespace Glyphs
{

enum class Id {
    Informations,
    Doctors,
    BeneficiaryList,
    Preview,
    Password,
    Print,
    Backup,
    Help,
    Quit,
    First,
    Prior,
    Next,
    Last,
    Insert,
    Delete,
    Post,
    Cancel,
    AddName,
    RemoveName,
};

QIcon icon(Id id);
// One glyph drawn at `size` × `size` pixels on a transparent background.
QPixmap pixmap(Id id, int size);
// The program's logo (a green cross with a coin), `size` × `size` pixels.
QPixmap logo(int size);
// Every id, in declaration order.
QList<Id> all();

void draw(QPainter &p, Id id);

} // namespace Glyphs
