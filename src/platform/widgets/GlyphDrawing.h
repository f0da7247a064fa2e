#pragma once

class QPainter;

// The drawing of each pictogram on a 24 × 24 unit grid; the caller scales the painter to the
// pixel size. Shapes are kept bold (strokes of 2 units or more) so that they stay legible at
// 16 pixels.
namespace GlyphDrawing
{

void informations(QPainter &p);
void doctors(QPainter &p);
void beneficiaryList(QPainter &p);
void preview(QPainter &p);
void password(QPainter &p);
void print(QPainter &p);
void backup(QPainter &p);
void help(QPainter &p);
void quit(QPainter &p);
void first(QPainter &p);
void prior(QPainter &p);
void next(QPainter &p);
void last(QPainter &p);
void insert(QPainter &p);
void remove(QPainter &p);
void post(QPainter &p);
void cancel(QPainter &p);
void addName(QPainter &p);
void removeName(QPainter &p);
// On a 64 × 64 unit grid.
void logo(QPainter &p);

void person(QPainter &p, double x, double y, double scale, const char *colour);
void badge(QPainter &p, bool plus);

} // namespace GlyphDrawing
