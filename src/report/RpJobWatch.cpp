#include "RpJobWatch.h"

#include "platform/Service.h"
#include "report/RpPrntr.h"
#include "report/RpProgress.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <array>

using platform::PrintJobStatus;

namespace {

// Printer states that keep a job from printing until somebody acts; with "-warning" a
// printer still prints, except where it is only reported offline.
constexpr std::array<const char *, 13> BlockingReasons{"offline",
                                                       "connecting-to-device",
                                                       "paused",
                                                       "shutdown",
                                                       "timed-out",
                                                       "stopped",
                                                       "media-empty",
                                                       "media-needed",
                                                       "media-jam",
                                                       "door-open",
                                                       "cover-open",
                                                       "toner-empty",
                                                       "marker-supply-empty"};

bool Blocking(const QString &reason) {
    QString name = reason;
    for (const char *suffix : {"-error", "-report", "-warning"})
        if (name.endsWith(QLatin1String(suffix)))
            name.chop(int(qstrlen(suffix)));
    if (reason.endsWith(QLatin1String("-warning")) && name != QLatin1String("offline"))
        return false;
    for (const char *blocking : BlockingReasons)
        if (name == QLatin1String(blocking))
            return true;
    return false;
}

// What the printer or the job says, best first.
QString Reason(const PrintJobStatus &status, const char *fallback) {
    for (const QString &said : {status.printerMessage, status.jobMessage})
        if (!said.trimmed().isEmpty())
            return said.trimmed();
    for (const QStringList &reasons : {status.printerReasons, status.jobReasons})
        if (!reasons.isEmpty())
            return reasons.join(QStringLiteral(", "));
    return QString::fromUtf8(fallback);
}

} // namespace

TRpJobVerdict JudgeJob(const QString &printer, int job, const PrintJobStatus &status) {
    using Kind = TRpJobVerdict::Kind;
    using State = PrintJobStatus::State;
    const QString who = QStringLiteral("Drukarka „%1”").arg(printer);
    const QString number = QString::number(job);
    if (!status.failure.isEmpty())
        return {Kind::Stuck, who + QStringLiteral(" nie odpowiada: system drukowania nie "
                                                  "odpowiada (%1)")
                                       .arg(status.failure)};
    switch (status.state) {
    case State::Completed:
        return {Kind::Printed,
                who + QStringLiteral(" wydrukowała tabliczkę (zadanie %1).").arg(number)};
    case State::Cancelled:
        return {Kind::Failed, who + QStringLiteral(" anulowała wydruk (zadanie %1): %2")
                                        .arg(number, Reason(status, "bez podania przyczyny"))};
    case State::Aborted:
        return {Kind::Failed, who + QStringLiteral(" przerwała wydruk (zadanie %1): %2")
                                        .arg(number, Reason(status, "bez podania przyczyny"))};
    case State::Unknown:
        return {Kind::Failed,
                QStringLiteral("Zadanie %1 zniknęło z kolejki drukarki „%2”; nie wiadomo, czy "
                               "wydrukowała tabliczkę")
                    .arg(number, printer)};
    default:
        break;
    }
    const bool blocked =
        std::any_of(status.printerReasons.begin(), status.printerReasons.end(), Blocking);
    if (status.printerStopped || !status.printerAccepting || blocked)
        return {Kind::Stuck,
                who + QStringLiteral(" nie odpowiada: %1")
                          .arg(Reason(status, status.printerStopped ? "kolejka jest zatrzymana"
                                                                    : "nie przyjmuje zadań"))};
    if (status.state == State::Held || status.state == State::Stopped)
        return {Kind::Stuck, who + QStringLiteral(" nie odpowiada: zadanie %1 jest wstrzymane "
                                                  "(%2)")
                                       .arg(number, Reason(status, "bez podania przyczyny"))};
    if (status.state == State::Processing)
        return {Kind::Waiting,
                who + QStringLiteral(" drukuje tabliczkę (zadanie %1)…").arg(number)};
    return {Kind::Waiting, QStringLiteral("Wysłano do drukarki „%1” (zadanie %2). Czeka w kolejce…")
                               .arg(printer, number)};
}

TRpJobWatch::TRpJobWatch(const QString &printer, int job, TRpProgressForm *window)
    : printer_(printer), job_(job), window_(window) {
    if (window_)
        window_->FollowJob([this] { Cancel(); },
                           [this] {
                               dismissed_ = window_->Problem();
                               dismissedAt_.start();
                               window_->ShowProblem(QString());
                           });
}

void TRpJobWatch::Cancel() {
    cancelRequested_ = true;
    if (window_) {
        window_->ShowProblem(QString());
        window_->ShowJobState(QStringLiteral("Anuluję wydruk…"));
        window_->BtnAnuluj->setEnabled(false);
    }
}

void TRpJobWatch::Wait() {
    started_.start();
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(PollMilliseconds);
    std::exception_ptr error;
    bool settled = false;
    const auto turn = [&] {
        try {
            settled = Look();
        } catch (...) {
            error = std::current_exception();
            settled = true;
        }
        if (settled)
            loop.quit();
    };
    QObject::connect(&timer, &QTimer::timeout, &loop, turn);
    turn();
    if (!settled) {
        timer.start();
        loop.exec();
    }
    if (error)
        std::rethrow_exception(error);
    // The loop also ends when the application does: a job not seen printed is not printed.
    if (!settled)
        throw ERpError(QStringLiteral("Nie wiadomo, czy drukarka „%1” wydrukowała tabliczkę "
                                      "(zadanie %2): program kończy pracę")
                           .arg(printer_, QString::number(job_)));
}

bool TRpJobWatch::Look() {
    if (cancelRequested_) {
        CancelAtPrinter();
        return true;
    }
    platform::PrinterSystem &printers = platform::Service<platform::PrinterSystem>::get();
    const platform::PrintJobStatus status = printers.jobStatus(printer_, job_);
    TRpJobVerdict verdict = JudgeJob(printer_, job_, status);
    switch (verdict.kind) {
    case TRpJobVerdict::Kind::Printed:
        return true;
    case TRpJobVerdict::Kind::Failed:
        throw ERpError(verdict.text);
    case TRpJobVerdict::Kind::Waiting: {
        // A printer that cannot be reached often says no more than a message while the job
        // seems to print; a plate takes seconds, so a long wait is a stuck printer too.
        if (started_.elapsed() < SilentWaitMilliseconds)
            break;
        const QString said = !status.printerMessage.trimmed().isEmpty()
                                 ? status.printerMessage.trimmed()
                                 : status.jobMessage.trimmed();
        verdict = {TRpJobVerdict::Kind::Stuck,
                   QStringLiteral("Drukarka „%1” nie odpowiada: %2")
                       .arg(printer_, said.isEmpty()
                                          ? QStringLiteral("zadanie %1 nie wydrukowało się od "
                                                           "%2 s")
                                                .arg(job_)
                                                .arg(SilentWaitMilliseconds / 1000)
                                          : said)};
        break;
    }
    case TRpJobVerdict::Kind::Stuck:
        break;
    }
    // A cancel asked for while the printer system was being asked goes ahead next turn.
    if (cancelRequested_)
        return false;
    const bool stuck = verdict.kind == TRpJobVerdict::Kind::Stuck;
    if (!stuck)
        stuckSince_.invalidate();
    else if (!stuckSince_.isValid())
        stuckSince_.start();
    if (!window_) {
        if (stuck && stuckSince_.elapsed() >= StuckGraceMilliseconds) {
            CancelAtPrinter();
            return true;
        }
        return false;
    }
    window_->ShowJobState(verdict.text);
    Offer(verdict);
    return false;
}

void TRpJobWatch::Offer(const TRpJobVerdict &verdict) {
    const bool stuck = verdict.kind == TRpJobVerdict::Kind::Stuck &&
                       stuckSince_.elapsed() >= StuckGraceMilliseconds;
    const bool waitedOn = verdict.text == dismissed_ && dismissedAt_.isValid() &&
                          dismissedAt_.elapsed() < SilentWaitMilliseconds;
    window_->ShowProblem(stuck && !waitedOn ? verdict.text : QString());
}

void TRpJobWatch::CancelAtPrinter() {
    platform::PrinterSystem &printers = platform::Service<platform::PrinterSystem>::get();
    try {
        printers.cancelJob(printer_, job_);
    } catch (const platform::Error &refused) {
        // A job that printed in the meantime cannot be cancelled, and counts as printed.
        if (JudgeJob(printer_, job_, printers.jobStatus(printer_, job_)).kind ==
            TRpJobVerdict::Kind::Printed)
            return;
        throw ERpError(QStringLiteral("Nie udało się anulować wydruku na drukarce „%1” "
                                      "(zadanie %2): %3. Tabliczka może się jeszcze wydrukować")
                           .arg(printer_, QString::number(job_), refused.message()));
    }
    throw ERpCancelled(QStringLiteral("Wydruk na drukarce „%1” anulowano (zadanie %2): tabliczka "
                                      "nie została wydrukowana")
                           .arg(printer_, QString::number(job_)));
}
