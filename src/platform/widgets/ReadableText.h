#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPalette>
#include <QPointer>

class QWidget;

// Keeps one text colour of a widget readable on its backgrounds, whatever the desktop's palette:
// the colour the window asks for (or the palette's own) goes through TextContrast against the
// widget's background roles, in every colour group, again at every change of palette or style.
// A child of the widget: it goes with it.
class ReadableText : public QObject
{
    Q_OBJECT

public:
    // `wanted` for the `text` role of `widget` (an invalid colour: the palette's own), read
    // against the `backgrounds` roles of the widget's palette, and against those colours made
    // darker and lighter by `shade` percent where styles draw shades of them (tabs behind the
    // page, sunken panels).
    static ReadableText *keep(QWidget *widget, const QColor &wanted, QPalette::ColorRole text,
                              const QList<QPalette::ColorRole> &backgrounds, int shade = 100);

    void setWanted(const QColor &wanted);
    QColor wanted() const { return wanted_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ReadableText(QWidget *widget, const QColor &wanted, QPalette::ColorRole text,
                 const QList<QPalette::ColorRole> &backgrounds, int shade);
    void apply();

    QPointer<QWidget> widget_;
    QColor wanted_;
    QPalette::ColorRole text_;
    QList<QPalette::ColorRole> backgrounds_;
    int shade_;
    bool applying_ = false;
};
