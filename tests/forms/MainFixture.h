// A fixture for main-window tests: a fresh settings store and register, three (or any number of) fake
// printers, a recording font registry and recording message boxes, and the window itself.
#pragma once

#include "forms/controls/TEdit.h"
#include "forms/uMain.h"
#include "settings/uRegistry.h"
#include "support/Doubles.h"
#include "support/FakePrinter.h"
#include "support/FontRegistryDouble.h"
#include "support/ShellDouble.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace testing_support {

class MainFixture : public ::testing::Test {
protected:
    MainFixture();
    ~MainFixture() override;

    // Replaces the printers the platform reports with `count` printers named P1, P2, ...
    void SetPrinterCount(int count);
    // Creates the main window and shows it, which runs its first show.
    TfMain &ShowMain();
    // The store the window will read, under the title the window sets.
    void Store(const QString &section, const QString &name, const TSettingsValue &value);
    TSettingsValue Stored(const QString &section, const QString &name, TSettingsTag type);
    // Replaces the store file with one that is no database: reads give defaults, writes raise.
    void BreakStore();
    void RepairStore();

    // Types text key by key as the operator would, letters beyond ASCII included.
    static void TypeText(QWidget *field, const QString &text);

    template <class Widget> Widget *Child(const char *name) const {
        auto *widget = window->findChild<Widget *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    RecordingMessages messages;
    RecordingFontRegistry fonts;
    RecordingShell shell;
    std::optional<FakePrinterSystem> printers;
    std::unique_ptr<TfMain> window;

private:
    QTemporaryDir config_;
    QTemporaryDir data_; // the register's folder
    QByteArray previousConfig_;
    QByteArray previousData_;
};

} // namespace testing_support
