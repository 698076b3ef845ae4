// Measuring what a PDF queue printed: waiting for cups-pdf's file, the words on a page
// with their boxes (pdftotext -bbox), and a page rendered in grey (pdftoppm) scanned for
// the first dark row or column of a region.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QSet>
#include <QSizeF>
#include <QString>

#include <vector>

namespace testing_support {

// The file cups-pdf writes for a job: "<title>…-job_<n>.pdf" in the output folder. Made
// before printing, so files already there are not taken for the new one. With a word, only
// a job whose page carries it counts: tests running beside it print under the same title.
class PdfJobWatch {
public:
    PdfJobWatch(const QString &outputDir, const QString &title, const QString &word = {});
    // The new job's finished PDF, or an empty string after the timeout.
    QString Wait(int timeoutMs = 60000) const;

private:
    QStringList Matching() const;

    QString outputDir_;
    QString title_;
    QString word_;
    QSet<QString> before_;
};

// A PDF is complete when it ends with its end-of-file marker.
bool PdfComplete(const QString &path);

// The job number cups-pdf put into a PDF's name; -1 when there is none.
int PdfJobNumber(const QString &pdf);

// A word and its box in points from the page's top-left corner.
struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

std::vector<PdfWord> PdfWords(const QString &pdf, int page = 1);
// The page's size in points.
QSizeF PdfPageSize(const QString &pdf, int page = 1);

// The PDF as a misregistered printer puts it on paper: a point (x, y) millimetres from the
// paper's left and top edges lands at (dx + sx·x, dy + sy·y). Ghostscript writes the new
// PDF to `output`; false when it failed.
bool MisregisterPdf(const QString &pdf, const QString &output, double dx, double dy, double sx,
                    double sy);

// The page in 8-bit grey at `dpi`; only the `crop` rectangle (pixels at that resolution,
// from the page's corner) when one is given. A null image when rendering failed.
QImage RenderPdfPage(const QString &pdf, int dpi, const QRect &crop = QRect(), int page = 1);

// The first row from the top, or column from the left, of `region` (image pixels) holding a
// pixel darker than `threshold`; -1 when the region has none.
int FirstDarkRow(const QImage &image, const QRect &region, int threshold = 128);
int FirstDarkColumn(const QImage &image, const QRect &region, int threshold = 128);

} // namespace testing_support
