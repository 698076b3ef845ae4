// The plate from the main window: from pressing "&Drukowanie" until CUPS has accepted the
// job (the cups-pdf queue of scripts/print-queues; skipped without it), handed over as the
// program does it (libcups, every answer checked) and, in the same run, as Qt's own CUPS
// engine did it before; the wait until CUPS reports the job printed is counted apart. Also
// from pressing "&Podgląd" until the preview has painted the plate; with the process's peak
// memory; the print once on the queue as it is and once with a stored registration
// correction, which must cost next to nothing. Runs offscreen unless QT_QPA_PLATFORM says
// otherwise.
// Run: source scripts/print-queues; plate_print --benchmark_counters_tabular=true
#include "forms/controls/TEdit.h"
#include "forms/controls/TShape.h"
#include "forms/kalibracja/Calibration.h"
#include "forms/uMain.h"
#include "platform/Fonts.h"
#include "platform/PrinterDeviceMode.h"
#include "platform/PrinterDocument.h"
#include "platform/Service.h"
#include "report/RpPrev.h"
#include "report/RpPreview.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPrintEngine>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <memory>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

// What the bench's plates carry, so their PDFs can be told from anyone else's.
const QString Station = QStringLiteral("BENCH-PR");

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The main window with the four fields filled and the first position chosen.
class Stage {
public:
    Stage() {
        window_ = std::make_unique<TfMain>();
        window_->show();
        QCoreApplication::processEvents();
        const QString texts[] = {"VOLKSWAGEN", "GOLF", "WVWZZZ1JZXW000001", Station};
        for (int n = 1; n <= TfMain::FieldCount; ++n)
            window_->Edit(n)->setText(texts[n - 1]);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_->Shape(1), &press);
    }
    ~Stage() { window_->close(); }

    TfMain &Window() { return *window_; }
    QAbstractButton &Button(const char *name) {
        return *window_->findChild<QAbstractButton *>(QLatin1String(name));
    }
    bool ChooseQueue(const QString &queue) {
        auto *printers = window_->findChild<QComboBox *>(QStringLiteral("cbDrukarka"));
        const int index = printers->findText(queue);
        printers->setCurrentIndex(index);
        return index >= 0;
    }

private:
    std::unique_ptr<TfMain> window_;
};

Stage *stage = nullptr;

// Notes when a document has been accepted, around the document of the real printers.
class TimedDocument final : public platform::SpoolDocument {
public:
    TimedDocument(std::unique_ptr<platform::SpoolDocument> inner, Clock::time_point &accepted)
        : inner_(std::move(inner)), accepted_(accepted) {}
    bool startPage() override { return inner_->startPage(); }
    void endPage() override { inner_->endPage(); }
    int endDocument() override {
        const int job = inner_->endDocument();
        accepted_ = Clock::now();
        return job;
    }
    void abortDocument() override { inner_->abortDocument(); }
    QPainter &painter() override { return inner_->painter(); }

private:
    std::unique_ptr<platform::SpoolDocument> inner_;
    Clock::time_point &accepted_;
};

// The real printers, with the moment each document is accepted noted; with `qtEngine` the
// document goes the way it went before: Qt's CUPS engine, which hands the file over and
// reports nothing back, so there is no job to follow.
class HandOverClock final : public platform::PrinterSystem {
public:
    bool qtEngine = false;
    Clock::time_point accepted;

    QStringList printerNames() override { return real_.printerNames(); }
    QString defaultPrinterName() override { return real_.defaultPrinterName(); }
    platform::PrinterIdentity identity(const QString &p) override { return real_.identity(p); }
    std::optional<platform::DeviceMode> deviceMode(const QString &p) override {
        return real_.deviceMode(p);
    }
    void setDeviceMode(const QString &p, const platform::DeviceMode &mode) override {
        real_.setDeviceMode(p, mode);
    }
    std::optional<QList<int>> papers(const QString &p) override { return real_.papers(p); }
    std::optional<platform::DeviceCaps> deviceCaps(const QString &p) override {
        return real_.deviceCaps(p);
    }
    std::unique_ptr<platform::SpoolDocument> startDocument(const QString &printer,
                                                           const QString &title) override {
        if (!qtEngine)
            return std::make_unique<TimedDocument>(real_.startDocument(printer, title), accepted);
        const platform::DeviceMode mode =
            real_.deviceMode(printer).value_or(platform::DeviceMode{});
        auto document = std::make_unique<platform::PrinterDocument>([&](QPrinter &device) {
            device.setPrinterName(printer);
            platform::ApplyDeviceMode(mode, device);
            device.setFullPage(true);
            device.setDocName(title);
            constexpr auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
            QStringList options = device.printEngine()->property(CupsOptions).toStringList();
            options << QStringLiteral("print-scaling") << QStringLiteral("none");
            device.printEngine()->setProperty(CupsOptions, options);
        });
        return std::make_unique<TimedDocument>(std::move(document), accepted);
    }
    platform::PrintJobStatus jobStatus(const QString &p, int job) override {
        return real_.jobStatus(p, job);
    }
    void cancelJob(const QString &p, int job) override { real_.cancelJob(p, job); }

private:
    platform::PrinterSystem &real_ = platform::PrinterSystem::real();
    platform::ScopedService<platform::PrinterSystem> scope_{*this};
};

// Waits until the queue has no job left, so the conversion of one document does not share
// the processor with the next measurement.
void WaitForEmptyQueue(const QString &queue) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 120000) {
        QProcess lpstat;
        lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
        lpstat.waitForFinished();
        if (lpstat.readAllStandardOutput().trimmed().isEmpty())
            return;
        QThread::msleep(50);
    }
}

// Removes the PDFs of the bench's plates written since `since`.
void RemoveBenchPdfs(const QString &folder, const QDateTime &since) {
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("Quendrel*-job_*.pdf")}, QDir::Files);
    for (const QFileInfo &file : files) {
        if (file.lastModified() < since)
            continue;
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {file.filePath(), QStringLiteral("-")});
        text.waitForFinished();
        if (text.readAllStandardOutput().contains(Station.toUtf8()))
            QFile::remove(file.filePath());
    }
}

void BM_PrintUntilHandedToCups(benchmark::State &state) {
    const QString queue = qEnvironmentVariable("MEROVAN_PDF_QUEUE");
    const QString folder = qEnvironmentVariable("MEROVAN_PDF_OUTDIR");
    if (queue.isEmpty() || folder.isEmpty()) {
        state.SkipWithError("no cups-pdf queue: MEROVAN_PDF_QUEUE and MEROVAN_PDF_OUTDIR come "
                            "from scripts/print-queues");
        return;
    }
    if (!stage->ChooseQueue(queue)) {
        state.SkipWithError("the cups-pdf queue is not among the printers");
        return;
    }
    HandOverClock printers;
    printers.qtEngine = state.range(0) == 0;
    const bool calibrated = state.range(1) == 1;
    if (calibrated)
        SaveCalibration(queue, {2000, 5000, -2000, -5000});
    const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
    QAbstractButton &print = stage->Button("BitBtn2");
    double printed = 0;
    for (auto _ : state) {
        const Clock::time_point pressed = Clock::now();
        print.click();
        const Clock::time_point returned = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(printers.accepted - pressed).count());
        printed += std::chrono::duration<double, std::milli>(returned - pressed).count();
        WaitForEmptyQueue(queue);
    }
    RemoveBenchPdfs(folder, start);
    if (calibrated)
        RemoveCalibration(queue);
    // With libcups "Drukowanie" returns once CUPS says the job has printed.
    state.counters["until_printed_ms"] = printed / double(state.iterations());
    state.counters["peak_MiB"] = PeakMiB();
}
BENCHMARK(BM_PrintUntilHandedToCups)
    ->ArgNames({"libcups", "calibrated"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10)
    ->Repetitions(3);

// Notes when a preview's page image first paints with a page, and closes the preview once
// that paint has been done.
class PaintWatch final : public QObject {
public:
    std::optional<Clock::time_point> painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *image = dynamic_cast<TRpPreviewImage *>(watched);
        if (event->type() == QEvent::Paint && image && image->HasPage() && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, this, [this] {
                painted = Clock::now();
                Close();
            });
        }
        return false;
    }

private:
    static void Close() {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *preview = dynamic_cast<TRpStandardPreview *>(window);
                preview && preview->isVisible())
                preview->ExitClick();
    }
    bool seen_ = false;
};

void BM_PreviewUntilPainted(benchmark::State &state) {
    QAbstractButton &preview = stage->Button("BitBtn1");
    for (auto _ : state) {
        PaintWatch watch;
        qApp->installEventFilter(&watch);
        // A preview that never paints is closed after ten seconds.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            for (QWidget *window : QApplication::topLevelWidgets())
                if (auto *shown = dynamic_cast<TRpStandardPreview *>(window))
                    shown->ExitClick();
        });
        guard.start(10000);
        const Clock::time_point start = Clock::now();
        preview.click();
        qApp->removeEventFilter(&watch);
        if (!watch.painted) {
            state.SkipWithError("the preview did not paint the plate");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(*watch.painted - start).count());
    }
    state.counters["peak_MiB"] = PeakMiB();
}
BENCHMARK(BM_PreviewUntilPainted)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20)
    ->Repetitions(3);

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window's settings go to a store of the bench's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    platform::InstallFontSubstitutions();
    Stage shown;
    stage = &shown;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
