#pragma once

#include "PdfFont.h"
#include "PdfObjectWriter.h"
#include "ReportPage.h"
#include "ReportPageGeometry.h"
#include "ReportPaintCache.h"
#include "SimpleTextShaper.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

class QIODevice;

// Writes laid-out report pages as a PDF document, page by page, with the glyphs where the
// report painter puts them on any other device. The page contents are written here rather than
// by the toolkit's PDF engine, which spends its time setting every glyph's position apart:
// a text here is one glyph string whose positions the font's own advances give, with a
// correction only where the shaped position differs (kerning). Each text is worked out once
// for a run of pages, since a register repeats its dates, names and headings.
class ReportPdfDocument
{
public:
    ReportPdfDocument(QIODevice &device, const ReportPageGeometry &geometry);
    ~ReportPdfDocument();
    ReportPdfDocument(const ReportPdfDocument &) = delete;
    ReportPdfDocument &operator=(const ReportPdfDocument &) = delete;

    // Thrown by addPage() for a font without TrueType outlines (a fallback font for a character
    // the report font lacks), which only the toolkit's PDF engine embeds.
    struct FontNotEmbeddable {
    };

    void addPage(const ReportPage &page);
    // Writes the fonts, the page tree and the file's end, under `title`.
    void finish(const QString &title);

    // The device pixels per page pixel the texts are shaped at: those of a 1200-dpi device.
    static constexpr qreal shapingScale = 1200.0 / 96.0;

private:
    // Glyphs of one font on one baseline, ready for the page: the text showing operator and
    // where its first glyph goes, in points from the line's top-left corner.
    struct Segment {
        PdfFont *font = nullptr;
        double size = 0;
        double dx = 0, dy = 0;
        QByteArray show;
    };
    struct EncodedText {
        std::vector<Segment> segments;
        QByteArray actualText;         // set when some glyph does not tell its characters
        qreal advance = 0, height = 0; // device pixels at shapingScale
    };

    const EncodedText &encoded(const ReportFont &font, const QString &text);
    PdfFont *fontFor(const QRawFont &font);
    void appendText(QByteArray &content, const ReportPlacedText &text);
    // Numbers and dates, placed without shaping; false for other texts.
    bool appendSimpleText(QByteArray &content, const ReportPlacedText &text, const QString &shown,
                          const QRectF &box);
    // Chooses the font when it changes and sets where the next glyphs' baseline starts.
    void appendPosition(QByteArray &content, PdfFont *font, double size, const QPointF &baseline);
    void appendImages(QByteArray &content, const ReportPage &page);

    PdfObjectWriter pdf_;
    double pageWidth_ = 0, pageHeight_ = 0; // points
    int pagesObject_ = 0, resourcesObject_ = 0;
    QList<int> pageObjects_;
    QImage shapingDevice_;
    ReportPaintCache cache_;
    std::vector<std::unique_ptr<PdfFont>> fonts_;
    QHash<QString, PdfFont *> fontsByName_;
    QList<std::pair<QByteArray, int>> images_;
    QHash<std::pair<int, QString>, EncodedText> texts_;
    struct SimpleFont {
        std::unique_ptr<SimpleTextShaper> shaper;
        PdfFont *font = nullptr;
    };
    std::unordered_map<int, SimpleFont> shapers_; // by report font key
    QList<SimpleTextShaper::Glyph> simpleGlyphs_;
    // Set while a page is written: the font and size last chosen.
    PdfFont *currentFont_ = nullptr;
    double currentSize_ = 0;
};
