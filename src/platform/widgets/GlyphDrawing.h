#pragma once

class QPainter;

// The drawing of each pictogram on a 24 × 24 unit grid; the caller scales the painter to the
// pixel size. Shapes are kept bold (strokes of 2 units or more) so that they stay legible at
// 16 pixels.
class GlyphDrawing
{
public:
    static void informations(QPainter &p);
    static void doctors(QPainter &p);
    static void beneficiaryList(QPainter &p);
    static void preview(QPainter &p);
    static void password(QPainter &p);
    static void print(QPainter &p);
    static void backup(QPainter &p);
    static void help(QPainter &p);
    static void quit(QPainter &p);
    static void first(QPainter &p);
    static void prior(QPainter &p);
    static void next(QPainter &p);
    static void last(QPainter &p);
    static void insert(QPainter &p);
    static void remove(QPainter &p);
    static void post(QPainter &p);
    static void cancel(QPainter &p);
    static void addName(QPainter &p);
    static void removeName(QPainter &p);
    // On a 64 × 64 unit grid.
    static void logo(QPainter &p);

private:
    static void person(QPainter &p, double x, double y, double scale, const char *colour);
    static void badge(QPainter &p, bool plus);
};
