#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QPdfDocument;

// A proof seen inside the program: a PDF page after page across the window's width, a
// picture scaled to the window (turned as its camera says). Escape closes it.
class ProofViewer : public QDialog
{
    Q_OBJECT

public:
    // Throws PlatformError (French) when the file cannot be shown.
    ProofViewer(const QString &path, const QString &shownName, QWidget *parent = nullptr);

    // The pages of the PDF shown, 1 for a picture.
    int pageCount() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void scalePicture();

    QImage image_;
    QLabel *picture_ = nullptr;
    QPdfDocument *document_ = nullptr;
};
