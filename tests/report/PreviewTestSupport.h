// Driving a preview from inside Preview's wait: an action runs once the window is up and
// the run has finished.
#pragma once

#include "report/RpPrev.h"
#include "report/RpPrntr.h"
#include "report/RpReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace print_test {

// The visible preview window, or none.
inline TRpStandardPreview *OpenPreview() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *preview = dynamic_cast<TRpStandardPreview *>(w); preview && preview->isVisible())
            return preview;
    return nullptr;
}

// Runs `action` with the preview window once `report`'s preview is waiting for the user,
// then returns; the action is expected to close the window. A preview that never comes up
// or is never closed fails the test and ends the wait after ten seconds.
inline void PreviewAndThen(TRpReport &report, std::function<void(TRpStandardPreview &)> action) {
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    bool done = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        TRpPrinter *job = report.RpPrinter();
        TRpStandardPreview *window = OpenPreview();
        if (!done && job && window && job->Status() == TRpJobStatus::Finished &&
            !report.RunInProgress()) {
            done = true;
            action(*window);
        } else if (clock.elapsed() > 10000 && job) {
            ADD_FAILURE() << "the preview did not come up or did not close";
            poll.stop();
            job->SetPreviewShowing(false);
        }
    });
    poll.start(5);
    report.Preview();
    EXPECT_TRUE(done);
}

} // namespace print_test
