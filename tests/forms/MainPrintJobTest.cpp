// "Drukowanie" through the printer double: a plate counts as printed only when its job did,
// on the printer shown in the list whatever changed in the list since; what the operator sees
// when it did not.
#include "forms/MainFixture.h"

#include "forms/controls/TShape.h"
#include "platform/Application.h"
#include "report/RpProgress.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace {

using platform::MessageKind;
using platform::PrintJobStatus;
using testing_support::FakePrinter;

TRpProgressForm *ProgressWindow() {
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *window = dynamic_cast<TRpProgressForm *>(top))
            return window;
    return nullptr;
}

class MainPrintJob : public testing_support::MainFixture {};

TEST_F(MainPrintJob, OnlyACompletedJobOnTheShownPrinterCountsAsPrinted) {
    enum class Change { None, Refused, ChosenRemoved, QueueAddedBefore, StuckCancelled, Closed };
    struct Case {
        const char *what;
        Change change;
        QStringList documents; // StartDoc calls
        QString message;       // what the operator is told; empty: nothing
        MessageKind kind;
        bool ticked;
        bool cancelled;
    };
    const QString cancelled = QStringLiteral(
        "Wydruk na drukarce „P2” anulowano (zadanie 1): tabliczka nie została wydrukowana.");
    const Case cases[] = {
        {"completed", Change::None, {"StartDoc P2 Quendrel"}, {}, {}, true, false},
        {"refused by the queue",
         Change::Refused,
         {"StartDoc P2 Quendrel"},
         "Drukarka „P2” nie przyjęła wydruku: The printer or class is not accepting jobs.",
         MessageKind::Error,
         false,
         false},
        {"the chosen queue removed since",
         Change::ChosenRemoved,
         {},
         platform::ErrorDisplayText(platform::NoSuchPrinter("P2")),
         MessageKind::Error,
         false,
         false},
        {"a queue added before the chosen one",
         Change::QueueAddedBefore,
         {"StartDoc P2 Quendrel"},
         {},
         {},
         true,
         false},
        {"stuck, cancelled by the operator",
         Change::StuckCancelled,
         {"StartDoc P2 Quendrel"},
         cancelled,
         MessageKind::Information,
         false,
         true},
        {"stuck, the program closed",
         Change::Closed,
         {"StartDoc P2 Quendrel"},
         {},
         {},
         false,
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RepairStore();
        SetPrinterCount(3);
        messages.shown.clear();
        TfMain &main = ShowMain();
        for (int n = 1; n <= 4; ++n)
            main.Edit(n)->setText(QStringLiteral("X%1").arg(n));
        main.Edit(3)->setText(QString::fromUtf8(c.what).left(20)); // a vehicle of its own
        QTest::mouseClick(main.Shape(3), Qt::LeftButton, {}, {5, 5});
        Child<QComboBox>("cbDrukarka")->setCurrentIndex(1);
        if (c.change == Change::Refused)
            printers->find("P2")->refusal =
                QStringLiteral("The printer or class is not accepting jobs.");
        if (c.change == Change::ChosenRemoved)
            printers->printers.erase(printers->printers.begin() + 1);
        if (c.change == Change::QueueAddedBefore)
            printers->printers.insert(printers->printers.begin(), FakePrinter{"A"});
        if (c.change == Change::StuckCancelled || c.change == Change::Closed) {
            PrintJobStatus paused;
            paused.state = PrintJobStatus::State::Pending;
            paused.printerStopped = true;
            printers->jobStates = {paused};
            messages.answers = {true};
            printers->onLook = [&](int) {
                TRpProgressForm *progress = ProgressWindow();
                if (!progress || progress->Problem().isEmpty())
                    return;
                if (c.change == Change::Closed)
                    main.close();
                else
                    progress->BtnAnuluj->click();
            };
        }
        QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
        QTest::qWait(50); // a close asked for meanwhile goes ahead once the print has ended

        EXPECT_EQ(printers->callsStartingWith({"StartDoc"}), c.documents);
        EXPECT_EQ(printers->callsStartingWith({"cancelJob"}).size(), c.cancelled ? 1u : 0u);
        EXPECT_EQ(main.CheckBox1Checked(), c.ticked);
        std::vector<std::pair<MessageKind, QString>> told;
        for (const auto &shown : messages.shown)
            told.emplace_back(shown.kind, shown.text);
        if (c.change == Change::Closed) {
            ASSERT_EQ(told.size(), 1u);
            EXPECT_EQ(told[0].first, MessageKind::Question);
            EXPECT_FALSE(main.isVisible());
        } else if (c.message.isEmpty()) {
            EXPECT_TRUE(told.empty());
        } else {
            ASSERT_EQ(told.size(), 1u);
            EXPECT_EQ(told[0], std::make_pair(c.kind, c.message));
        }
        EXPECT_EQ(ProgressWindow(), nullptr);
        window.reset();
    }
}

} // namespace
