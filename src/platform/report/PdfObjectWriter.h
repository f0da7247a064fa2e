#pragma once

#include <QByteArray>
#include <QList>

class QIODevice;

// The file structure of a PDF document: numbered objects written one after another to a device,
// their offsets kept for the cross-reference table that closes the file. An object may be
// referred to before it is written (reserve()), so pages can be written as they come and the
// fonts they use once every page is known.
class PdfObjectWriter
{
public:
    explicit PdfObjectWriter(QIODevice &device);

    // A number for an object written later with begin(number).
    int reserve();
    // Starts the object `number` (reserved) or a new one, and returns its number.
    int begin(int number = 0);
    void write(const QByteArray &bytes);
    void end();
    // A whole object holding `body`.
    int object(const QByteArray &body, int number = 0);
    // A whole stream object, its data compressed, with the dictionary entries `dictionary`
    // (without the length and filter).
    int stream(const QByteArray &data, const QByteArray &dictionary = {}, int number = 0);

    // The cross-reference table and trailer naming `root` and `info`.
    void finish(int root, int info);

    static QByteArray reference(int number);
    // A text string (UTF-16 with its byte-order mark), in hexadecimal.
    static QByteArray textString(const QString &text);
    // A number with at most three decimals and no exponent, as PDF wants them.
    static void appendNumber(QByteArray &out, double value);

private:
    QIODevice &device_;
    qint64 offset_ = 0;
    QList<qint64> offsets_; // by object number - 1; -1 while only reserved
};
