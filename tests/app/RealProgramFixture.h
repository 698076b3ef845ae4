// The built program on a private desktop, with its settings store written before it starts
// and read after it ends, as the tests of the real program need it.
#pragma once

#include "Desktop.h"

#include "settings/SheetStore.h"
#include "settings/uRegistry.h"

#include <QFile>
#include <gtest/gtest.h>

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
    // Runs `access` on the program's own settings store.
    template <class Access> auto InProgramsStore(Access access) {
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(desktop.ConfigHome()));
        struct Restore {
            QByteArray previous;
            ~Restore() { qputenv("XDG_CONFIG_HOME", previous); }
        } restore{previous};
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
