// Driving the modal orderer dialog from a test: an action runs once the dialog is shown and
// active; a dialog still open long after is cancelled so a failing test cannot hang.
#pragma once

#include "forms/uDaneZamawiajacego.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace testing_support {

inline TfDaneZamawiajacego *ShownDialog() {
    auto *dialog = qobject_cast<TfDaneZamawiajacego *>(QApplication::activeModalWidget());
    return dialog && dialog->isActiveWindow() ? dialog : nullptr;
}

// Call before the code that shows the dialog modally.
inline void WhenDialogShown(std::function<void(TfDaneZamawiajacego &)> action, int waited = 0) {
    QTimer::singleShot(waited == 0 ? 0 : 10, qApp, [action = std::move(action), waited]() mutable {
        if (TfDaneZamawiajacego *dialog = ShownDialog()) {
            const QPointer<TfDaneZamawiajacego> guard(dialog);
            action(*dialog);
            QTimer::singleShot(10000, qApp, [guard] {
                if (guard && guard->isVisible()) {
                    ADD_FAILURE() << "the dialog was left open";
                    guard->done(0);
                }
            });
        } else if (waited < 1000) {
            WhenDialogShown(std::move(action), waited + 1);
        } else {
            ADD_FAILURE() << "the dialog was not shown";
        }
    });
}

} // namespace testing_support
