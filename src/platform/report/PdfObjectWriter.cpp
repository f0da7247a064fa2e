#include "PdfObjectWriter.h"

#include <QIODevice>
#include <QString>

#include <cmath>

namespace
{

// Fast enough for page contents and still small: those streams repeat the same few operators.
constexpr int compressionLevel = 1;

} // namespace

PdfObjectWriter::PdfObjectWriter(QIODevice &device) : device_(device)
{
    // The binary comment tells transfer programs the file is not plain text.
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

int PdfObjectWriter::reserve()
{
    offsets_.append(-1);
    return int(offsets_.size());
}

int PdfObjectWriter::begin(int number)
{
    if (number == 0)
        number = reserve();
    offsets_[number - 1] = offset_;
    write(QByteArray::number(number) + " 0 obj\n");
    return number;
}

void PdfObjectWriter::write(const QByteArray &bytes)
{
    // A failed write is seen when the file is committed.
    device_.write(bytes);
    offset_ += bytes.size();
}

void PdfObjectWriter::end()
{
    write("\nendobj\n");
}

int PdfObjectWriter::object(const QByteArray &body, int number)
{
    number = begin(number);
    write(body);
    end();
    return number;
}

int PdfObjectWriter::stream(const QByteArray &data, const QByteArray &dictionary, int number)
{
    // qCompress puts the length in four bytes before the zlib stream that PDF reads.
    const QByteArray packed = qCompress(data, compressionLevel).mid(4);
    number = begin(number);
    write("<< /Length " + QByteArray::number(packed.size()) + " /Filter /FlateDecode " +
          dictionary + " >>\nstream\n");
    write(packed);
    write("\nendstream");
    end();
    return number;
}

void PdfObjectWriter::finish(int root, int info)
{
    const qint64 start = offset_;
    QByteArray table = "xref\n0 " + QByteArray::number(offsets_.size() + 1) + "\n";
    table += "0000000000 65535 f \n";
    for (const qint64 offset : offsets_)
        table += QByteArray::number(qMax<qint64>(0, offset)).rightJustified(10, '0') +
                 (offset < 0 ? " 00000 f \n" : " 00000 n \n");
    table += "trailer\n<< /Size " + QByteArray::number(offsets_.size() + 1) + " /Root " +
             reference(root) + " /Info " + reference(info) + " >>\nstartxref\n" +
             QByteArray::number(start) + "\n%%EOF\n";
    write(table);
}

QByteArray PdfObjectWriter::reference(int number)
{
    return QByteArray::number(number) + " 0 R";
}

QByteArray PdfObjectWriter::textString(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

void PdfObjectWriter::appendNumber(QByteArray &out, double value)
{
    // Thousandths of a point are far below what a printer or a viewer shows.
    long long thousandths = std::llround(value * 1000.0);
    if (thousandths < 0) {
        out += '-';
        thousandths = -thousandths;
    }
    out += QByteArray::number(thousandths / 1000);
    if (const long long fraction = thousandths % 1000; fraction != 0) {
        char digits[5] = {'.', char('0' + fraction / 100), char('0' + fraction / 10 % 10),
                          char('0' + fraction % 10), 0};
        int length = 4;
        while (digits[length - 1] == '0')
            --length;
        out.append(digits, length);
    }
}
