#include "Pdf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <optional>

namespace testing_support {
namespace {

// Runs a tool and returns its standard output; none when it failed.
std::optional<QByteArray> Run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

} // namespace

bool PdfComplete(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(file.size() - qMin<qint64>(file.size(), 32));
    return file.readAll().trimmed().endsWith("%%EOF");
}

namespace {

QString Unescape(QString text) {
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
    return text.replace("&amp;", "&");
}

} // namespace

PdfJobWatch::PdfJobWatch(const QString &outputDir, const QString &title, const QString &word)
    : outputDir_(outputDir), title_(title), word_(word) {
    const QStringList existing = Matching();
    before_ = QSet<QString>(existing.begin(), existing.end());
}

QStringList PdfJobWatch::Matching() const {
    // cups-pdf may append to the title before "-job_<n>".
    return QDir(outputDir_).entryList({title_ + "*-job_*.pdf"}, QDir::Files, QDir::Time);
}

QString PdfJobWatch::Wait(int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    QHash<QString, qint64> lastSize;
    QSet<QString> others;
    while (clock.elapsed() < timeoutMs) {
        for (const QString &name : Matching()) {
            if (before_.contains(name) || others.contains(name))
                continue;
            const QString candidate = QDir(outputDir_).filePath(name);
            const qint64 size = QFileInfo(candidate).size();
            const bool settled = lastSize.value(name, -1) == size && PdfComplete(candidate);
            lastSize[name] = size;
            if (!settled)
                continue;
            if (word_.isEmpty())
                return candidate;
            const auto words = PdfWords(candidate);
            if (std::any_of(words.begin(), words.end(),
                            [this](const PdfWord &w) { return w.text == word_; }))
                return candidate;
            others << name;
        }
        QThread::msleep(100);
    }
    return {};
}

int PdfJobNumber(const QString &pdf) {
    static const QRegularExpression job(QStringLiteral("-job_(\\d+)\\.pdf$"));
    const QRegularExpressionMatch match = job.match(pdf);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

std::vector<PdfWord> PdfWords(const QString &pdf, int page) {
    const QString html = QString::fromUtf8(Run("pdftotext", {"-bbox", "-f", QString::number(page),
                                                             "-l", QString::number(page), pdf, "-"})
                                               .value_or(QByteArray()));
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.push_back({Unescape(m.captured(5)), m.captured(1).toDouble(),
                         m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble()});
    }
    return words;
}

QSizeF PdfPageSize(const QString &pdf, int page) {
    const QString info = QString::fromUtf8(
        Run("pdfinfo", {"-f", QString::number(page), "-l", QString::number(page), pdf})
            .value_or(QByteArray()));
    static const QRegularExpression size(QStringLiteral(R"re(size:\s+([\d.]+) x ([\d.]+) pts)re"));
    const QRegularExpressionMatch m = size.match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

bool MisregisterPdf(const QString &pdf, const QString &output, double dx, double dy, double sx,
                    double sy) {
    constexpr double PointsPerMm = 72 / 25.4;
    const double height = PdfPageSize(pdf).height();
    // Page space counts up from the bottom: a point t from the top lands at dy + sy·t.
    const QString transform =
        QStringLiteral("<</BeginPage {pop %1 %2 %3 sub %2 %4 mul sub translate %5 %4 scale}>> "
                       "setpagedevice")
            .arg(dx * PointsPerMm, 0, 'f', 6)
            .arg(height, 0, 'f', 6)
            .arg(dy * PointsPerMm, 0, 'f', 6)
            .arg(sy, 0, 'f', 8)
            .arg(sx, 0, 'f', 8);
    return Run("gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
                      "-sOutputFile=" + output, "-c", transform, "-f", pdf})
        .has_value();
}

QImage RenderPdfPage(const QString &pdf, int dpi, const QRect &crop, int page) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    QStringList arguments{"-r", QString::number(dpi),  "-gray", "-singlefile",
                          "-f", QString::number(page), "-l",    QString::number(page)};
    if (crop.isValid())
        arguments << "-x" << QString::number(crop.x()) << "-y" << QString::number(crop.y()) << "-W"
                  << QString::number(crop.width()) << "-H" << QString::number(crop.height());
    arguments << pdf << prefix;
    if (!Run("pdftoppm", arguments))
        return {};
    QImageReader::setAllocationLimit(0); // a whole page at printer resolution is large
    return QImage(prefix + ".pgm").convertToFormat(QImage::Format_Grayscale8);
}

int FirstDarkRow(const QImage &image, const QRect &region, int threshold) {
    const QRect area = region.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            if (line[x] < threshold)
                return y;
    }
    return -1;
}

int FirstDarkColumn(const QImage &image, const QRect &region, int threshold) {
    const QRect area = region.intersected(image.rect());
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (image.constScanLine(y)[x] < threshold)
                return x;
    return -1;
}

} // namespace testing_support
