// Following a printed document after the printer system took it, until it has printed. A
// job counts as printed only when the printer system says it completed: a job that waits on
// a stopped, paused or unreachable printer would otherwise print later, unseen, on whatever
// sheet is in the tray by then. So the operator sees what the printer is doing and, when
// it is stuck, chooses to cancel the job at the printer system or to wait on.
#pragma once

#include "platform/PrinterSystem.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>

class TRpProgressForm;

// What one look at a job says. The rule, in one place:
// - completed: printed;
// - cancelled or aborted by the printer system, or no longer known to it: failed, with the
//   printer's or the job's reason;
// - the printer system does not answer, the queue is stopped (disabled, paused) or refuses
//   jobs, the job is held, or the printer reports itself offline, unreachable or shut
//   down: stuck, with what the printer says;
// - otherwise (queued, printing): waiting; a job waiting longer than a plate takes to print
//   counts as stuck (TRpJobWatch), with what the printer says.
struct TRpJobVerdict {
    enum class Kind { Printed, Failed, Stuck, Waiting };
    Kind kind = Kind::Waiting;
    QString text; // Polish: what the operator is told
    friend bool operator==(const TRpJobVerdict &, const TRpJobVerdict &) = default;
};

TRpJobVerdict JudgeJob(const QString &printer, int job, const platform::PrintJobStatus &status);

// Watches one job, polling the printer system without blocking the window. Wait returns
// once the job has printed and raises ERpError when it failed, and ERpCancelled when it
// was cancelled here. The progress window, when there is one, shows each verdict and offers
// "Anuluj wydruk" throughout and "Czekaj" while the job is stuck; without a window a stuck
// job is cancelled, since nobody could choose.
class TRpJobWatch {
public:
    TRpJobWatch(const QString &printer, int job, TRpProgressForm *window);
    TRpJobWatch(const TRpJobWatch &) = delete;
    TRpJobWatch &operator=(const TRpJobWatch &) = delete;

    void Wait();
    // The operator's cancel: the window says so at once, and the job is cancelled at the
    // printer system on the next turn.
    void Cancel();

    // How often the printer system is asked; how long a job must be stuck before the
    // operator is asked (a network printer reports itself connecting at every job); how long
    // a job may take before it counts as stuck though the printer gives no reason (an
    // unreachable network printer only says so in words), and how long "Czekaj" keeps the
    // same question away.
    static constexpr int PollMilliseconds = 200;
    static constexpr int StuckGraceMilliseconds = 1000;
    static constexpr int SilentWaitMilliseconds = 15000;

private:
    // True when the job is settled: printed, or an error raised.
    bool Look();
    void Offer(const TRpJobVerdict &verdict);
    void CancelAtPrinter();

    QString printer_;
    int job_;
    TRpProgressForm *window_;
    bool cancelRequested_ = false;
    QElapsedTimer started_;
    QElapsedTimer stuckSince_; // invalid while the job is not stuck
    QString dismissed_;        // the stuck text the operator chose to wait on, and when
    QElapsedTimer dismissedAt_;
};
