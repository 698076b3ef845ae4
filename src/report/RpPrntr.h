// The job of one print or preview: it drives the printer as one spooled document, or
// records page images into the page store, and tells its client (the progress window or
// the preview's page area) how far it has come.
#pragma once

#include "platform/Application.h"
#include "platform/PrinterSystem.h"
#include "report/RpCalibration.h"
#include "report/RpDevice.h"
#include "report/RpPageList.h"
#include "report/RpPrinterSettings.h"

#include <QEvent>
#include <QPointer>
#include <QSize>

#include <memory>

class QEventLoop;
class QObject;
class QPainter;
class QPicture;
class TRpReport;

// An error of the engine, with its own message.
class ERpError : public platform::Error {
public:
    using platform::Error::Error;
};

// A print the operator cancelled: nothing printed, and nobody needs telling why.
class ERpCancelled : public ERpError {
public:
    using ERpError::ERpError;
};

// Notices from a job to its client, posted and handled in queue order; the release notice
// is delivered at once, while the job still exists.
enum TRpNoticeType {
    RpProgressNotice = QEvent::User,          // Value: the job's Progress
    RpPageAvailableNotice = QEvent::User + 1, // Value: the new AvailablePages
    RpJobReleasedNotice = QEvent::User + 5,   // the job is going; drop every reference to it
};

class TRpNotice final : public QEvent {
public:
    TRpNotice(TRpNoticeType type, int value, class TRpPrinter *job)
        : QEvent(QEvent::Type(type)), Value(value), Job(job) {}
    const int Value;
    TRpPrinter *const Job;
};

enum class TRpDestination { Printer, PageImages };

struct TRpHandedOver {
    QString Printer;
    int Job = 0;
    TRpCalibration Correction;
};
enum class TRpJobStatus { Idle = 0, Busy = 1, Finished = 2 };

class TRpPrinter final : public TRpDevice {
public:
    explicit TRpPrinter(TRpReport &report);
    ~TRpPrinter() override;
    TRpPrinter(const TRpPrinter &) = delete;
    TRpPrinter &operator=(const TRpPrinter &) = delete;

    // The report that created the job.
    TRpReport *Report() const { return report_; }

    TRpDestination Destination = TRpDestination::PageImages;
    QString Title;
    bool CancelRequested = false;
    // Page images are stored compressed; taken by BeginJob's new page store.
    bool Compression = false;

    TRpJobStatus Status() const { return status_; }
    int PageCount() const { return pageCount_; }
    int AvailablePages() const { return availablePages_; }
    int Progress() const { return progress_; }
    // Posts a progress notice to the client.
    void SetProgress(int progress);
    int FirstPage() const { return firstPage_; }
    int LastPage() const { return lastPage_; }
    bool PrintersInstalled() const { return printersInstalled_; }

    // Set by the preview's page area while it shows this job. Clearing it ends the wait
    // of the preview.
    bool PreviewShowing() const { return previewShowing_; }
    void SetPreviewShowing(bool showing);
    // The window that receives the notices, or none.
    QObject *Client() const { return client_; }
    void SetClient(QObject *client) { client_ = client; }
    // The loop a preview waits in; quit when the preview stops showing or the job goes.
    void SetWaitLoop(QEventLoop *loop);

    // The job the printer system took for this document: its printer, its number (0 when
    // nothing was handed over or the printer keeps no jobs) and the correction it was
    // printed with.
    const TRpHandedOver &HandedOver() const { return handedOver_; }

    TPrinterSettings &Settings() { return settings_; }
    const TPrinterSettings &Settings() const { return settings_; }
    const TRpPageList *PageList() const { return pageList_.get(); }

    // The paper of the page images in whole tenths of a millimetre, as oriented, and the
    // page image's size in pixels.
    QSize PaperSize() const;
    QSize PageImageSize() const;

    void BeginJob();
    void NewPage();
    void EndJob();
    void AbortJob();
    // A new copy of page n, or none when it is not stored yet.
    std::unique_ptr<QPicture> GetPage(int n) const;
    // Run by the preview window when it closes.
    void ClosePreview();

    platform::Canvas &Canvas() override;
    const TRpDeviceMapping &Mapping() const override { return mapping_; }
    bool MakesPageImages() const override { return Destination == TRpDestination::PageImages; }

private:
    struct Page;

    bool InPrintedRange(int page) const;
    std::unique_ptr<Page> PicturePage(bool kept) const;
    void CompleteOpenPage();
    void ReadFactors(bool jobStart);
    void Announce(int availablePages);
    void Post(TRpNoticeType type, int value);

    TRpReport *report_;
    TRpJobStatus status_ = TRpJobStatus::Idle;
    int pageCount_ = 0;
    int availablePages_ = 0;
    int progress_ = 0;
    int firstPage_ = 0;
    int lastPage_ = 0;
    bool previewShowing_ = false;
    bool printersInstalled_;
    QPointer<QObject> client_;
    QPointer<QEventLoop> waitLoop_;
    TPrinterSettings settings_;
    std::unique_ptr<TRpPageList> pageList_;
    TRpDeviceMapping mapping_;
    int screenDpi_;
    std::unique_ptr<platform::SpoolDocument> document_;
    TRpHandedOver handedOver_;
    std::unique_ptr<Page> page_;    // the page being drawn, or none
    std::unique_ptr<Page> scratch_; // what is drawn while no page is open goes nowhere
};
