// The built program on a private desktop, with its settings store written before it starts
// and read after it ends, as the tests of the real program need it.
#pragma once

#include "Desktop.h"

#include "settings/SheetStore.h"
#include "settings/uRegistry.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <sys/stat.h>

inline const QString Title = QStringLiteral("Merovan");

class RealProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Without the tools there is no desktop to run on; with them, one that does not come
        // up is a failure, not a reason to skip.
        if (!desktop.Ready() && desktop.ToolMissing())
            GTEST_SKIP() << desktop.Why().toStdString();
        ASSERT_TRUE(desktop.Ready()) << desktop.Why().toStdString();
        folder = desktop.ConfigHome() + QStringLiteral("/ZOVI Software");
        store = folder + QStringLiteral("/registry.db");
    }
    // Runs `access` on the program's own settings store and register.
    template <class Access> auto InProgramsStore(Access access) {
        struct Restore {
            QByteArray config = qgetenv("XDG_CONFIG_HOME");
            QByteArray data = qgetenv("XDG_DATA_HOME");
            ~Restore() {
                qputenv("XDG_CONFIG_HOME", config);
                qputenv("XDG_DATA_HOME", data);
            }
        } restore;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(desktop.ConfigHome()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(desktop.DataHome()));
        return access();
    }
    // Settings as the program finds them, written before it starts.
    void Seed(const QString &section, const QString &name, const TSettingsValue &value) {
        InProgramsStore([&] { WriteToHKCUkey(Title, section, name, value); });
    }
    TSettingsValue Stored(const QString &section, const QString &name) {
        return InProgramsStore([&] {
            return ReadFromHKCUkey(Title, section, name, int(TSettingsTag::String),
                                   TSettingsValue::Text(QStringLiteral("-")));
        });
    }
    // The sheet's memory as the program stored it.
    TSheetState Sheet(int sheetLayout) {
        return InProgramsStore([&] { return ReadSheet(Title, sheetLayout); });
    }
    // From "Drukowanie", as an operator does with the keyboard only: over "Zamówienie folii",
    // "Koniec" and the sheet choice to the miniature, the position's digit, on to the fields,
    // each typed and left with Enter, which from the last one reaches "Drukowanie" again;
    // then Enter prints. A question the print asks is the caller's to answer.
    void TypeAndPrint(qulonglong main, int position, const std::array<QString, 4> &texts) {
        desktop.Keys(main, QStringLiteral("Tab Tab Tab Tab %1 Tab Tab Tab").arg(position));
        for (const QString &text : texts) {
            desktop.Keys(main, "ctrl+a");
            desktop.Type(main, text);
            desktop.Keys(main, "Return");
        }
        desktop.Keys(main, "Return");
    }
    static bool WaitUntil(int milliseconds, const std::function<bool()> &done) {
        QDeadlineTimer deadline(milliseconds);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(100);
        }
        return true;
    }
    static mode_t Mode(const QString &path) {
        struct stat status {};
        return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777
                                                                          : 0;
    }
    void CloseMain() { desktop.Close(desktop.WaitForWindow("Druk Tabliczki")); }

    // Starts the program and closes it: the store's error shows, is dismissed, and the
    // program goes on running.
    void ExpectCloseRefused(const char *store) {
        ASSERT_TRUE(desktop.StartProgram());
        CloseMain();
        const qulonglong error = desktop.WaitForWindow(Title);
        ASSERT_NE(error, 0u) << "no error shown for " << store;
        desktop.Keys(error, "Return");
        EXPECT_FALSE(desktop.ProgramEnded(1000));
    }

    Desktop desktop;
    QString folder;
    QString store;
};
