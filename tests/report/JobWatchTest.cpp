// A print counts as printed only when the printer system says its job completed: what each
// state of a job means, and Print following its job through the printer double, with the
// operator's choices in the progress window.
#include "PrintTestReports.h"

#include "report/RpJobWatch.h"
#include "report/RpPrntr.h"
#include "report/RpProgress.h"

#include "support/FakePrinter.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace print_test;
using platform::PrintJobStatus;
using testing_support::FakePrinter;
using testing_support::FakePrinterSystem;
using Kind = TRpJobVerdict::Kind;
using State = PrintJobStatus::State;

namespace {

PrintJobStatus Job(State state, QStringList printerReasons = {}, bool stopped = false,
                   QString printerMessage = {}) {
    PrintJobStatus status;
    status.state = state;
    status.printerReasons = std::move(printerReasons);
    status.printerStopped = stopped;
    status.printerMessage = std::move(printerMessage);
    return status;
}

TRpProgressForm *ProgressWindow() {
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *window = dynamic_cast<TRpProgressForm *>(top))
            return window;
    return nullptr;
}

} // namespace

TEST(JobVerdict, EachStateOfAJobMeansOneThingForTheOperator) {
    PrintJobStatus unreachable;
    unreachable.failure = QStringLiteral("Connection refused");
    PrintJobStatus refusing = Job(State::Pending);
    refusing.printerAccepting = false;
    PrintJobStatus aborted = Job(State::Aborted);
    aborted.jobMessage = QStringLiteral("Filter failed");
    PrintJobStatus processing = Job(State::Processing, {QStringLiteral("connecting-to-device")});
    struct Case {
        const char *what;
        PrintJobStatus status;
        TRpJobVerdict verdict;
    };
    const Case cases[] = {
        {"completed",
         Job(State::Completed),
         {Kind::Printed, "Drukarka „P1” wydrukowała tabliczkę (zadanie 7)."}},
        {"queued",
         Job(State::Pending),
         {Kind::Waiting, "Wysłano do drukarki „P1” (zadanie 7). Czeka w kolejce…"}},
        {"printing",
         Job(State::Processing, {QStringLiteral("toner-low-warning")}),
         {Kind::Waiting, "Drukarka „P1” drukuje tabliczkę (zadanie 7)…"}},
        {"queue paused",
         Job(State::Pending, {QStringLiteral("paused")}, true, "Paused"),
         {Kind::Stuck, "Drukarka „P1” nie odpowiada: Paused"}},
        {"queue stopped, nothing said",
         Job(State::Pending, {}, true),
         {Kind::Stuck, "Drukarka „P1” nie odpowiada: kolejka jest zatrzymana"}},
        {"queue refuses jobs",
         refusing,
         {Kind::Stuck, "Drukarka „P1” nie odpowiada: nie przyjmuje zadań"}},
        {"network printer unreachable",
         processing,
         {Kind::Stuck, "Drukarka „P1” nie odpowiada: connecting-to-device"}},
        {"printer offline, only reported",
         Job(State::Processing, {QStringLiteral("offline-report")}),
         {Kind::Stuck, "Drukarka „P1” nie odpowiada: offline-report"}},
        {"job held",
         Job(State::Held),
         {Kind::Stuck, "Drukarka „P1” nie odpowiada: zadanie 7 jest wstrzymane (bez podania "
                       "przyczyny)"}},
        {"scheduler gone",
         unreachable,
         {Kind::Stuck, "Drukarka „P1” nie odpowiada: system drukowania nie odpowiada "
                       "(Connection refused)"}},
        {"aborted",
         aborted,
         {Kind::Failed, "Drukarka „P1” przerwała wydruk (zadanie 7): Filter failed"}},
        {"cancelled elsewhere",
         Job(State::Cancelled),
         {Kind::Failed, "Drukarka „P1” anulowała wydruk (zadanie 7): bez podania przyczyny"}},
        {"forgotten",
         Job(State::Unknown),
         {Kind::Failed, "Zadanie 7 zniknęło z kolejki drukarki „P1”; nie wiadomo, czy "
                        "wydrukowała tabliczkę"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(JudgeJob(QStringLiteral("P1"), 7, c.status), c.verdict) << c.what;
}

// Print through the double; the operator answers once the progress window asks.
TEST(Print, FollowsItsJobUntilThePrinterSystemSaysPrintedAndOnlyThen) {
    enum class Operator { None, Cancels, Waits, CancelsTooLate };
    struct Case {
        const char *what;
        std::vector<PrintJobStatus> states;
        Operator answer;
        QString refusal; // the printer system's at hand-over
        QString error;   // empty: printed
        bool cancelled;  // the job was cancelled at the printer system
    };
    const PrintJobStatus paused = Job(State::Pending, {QStringLiteral("paused")}, true, "Paused");
    const Case cases[] = {
        {"printed at once", {}, Operator::None, {}, {}, false},
        {"refused at hand-over",
         {},
         Operator::None,
         "The printer or class is not accepting jobs.",
         "Drukarka „P1” nie przyjęła wydruku: The printer or class is not accepting jobs.",
         false},
        {"aborted by the printer system",
         {Job(State::Processing), Job(State::Aborted)},
         Operator::None,
         {},
         "Drukarka „P1” przerwała wydruk (zadanie 1): bez podania przyczyny",
         false},
        {"stuck, the operator cancels",
         {paused},
         Operator::Cancels,
         {},
         "Wydruk na drukarce „P1” anulowano (zadanie 1): tabliczka nie została wydrukowana",
         true},
        {"stuck, the operator waits, the printer comes back",
         {paused},
         Operator::Waits,
         {},
         {},
         false},
        {"cancelled when it had just printed", {paused}, Operator::CancelsTooLate, {}, {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FakePrinter printer{"P1"};
        printer.refusal = c.refusal;
        FakePrinterSystem printers({printer});
        printers.jobStates = c.states;
        QStringList asked;
        bool askedAgain = false;
        printers.onLook = [&](int look) {
            TRpProgressForm *window = ProgressWindow();
            ASSERT_NE(window, nullptr);
            if (window->Problem().isEmpty())
                return;
            if (!asked.isEmpty()) {
                askedAgain = true;
                return;
            }
            asked << window->Problem();
            EXPECT_TRUE(window->BtnCzekaj->isVisible());
            // From the next look on, what the printer does after the operator's answer.
            const auto thenPrinted = [&](int pausedLooks) {
                printers.jobStates.assign(std::size_t(pausedLooks), paused);
                printers.jobStates.push_back(Job(State::Completed));
            };
            switch (c.answer) {
            case Operator::Cancels:
                window->BtnAnuluj->click();
                break;
            case Operator::Waits:
                window->BtnCzekaj->click();
                thenPrinted(look + 3);
                break;
            case Operator::CancelsTooLate:
                printers.cancelRefusal = QStringLiteral("Job #1 is already completed");
                window->BtnAnuluj->click();
                thenPrinted(look);
                break;
            case Operator::None:
                break;
            }
        };
        auto report = PagesReport(1);
        QString error;
        try {
            report->Print();
        } catch (const ERpError &e) {
            error = e.message();
        }
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(printers.callsStartingWith({"cancelJob"}).size(),
                  c.cancelled || c.answer == Operator::CancelsTooLate ? 1 : 0);
        EXPECT_EQ(report->LastPrinted().Job, c.error.isEmpty() ? 1 : 0);
        EXPECT_EQ(asked, c.answer == Operator::None
                             ? QStringList()
                             : QStringList({"Drukarka „P1” nie odpowiada: Paused"}));
        EXPECT_FALSE(askedAgain);
        if (!c.refusal.isEmpty()) {
            EXPECT_TRUE(printers.callsStartingWith({"jobStatus"}).isEmpty());
        }
        EXPECT_EQ(ProgressWindow(), nullptr);
    }
}
