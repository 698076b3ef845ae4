// The built program on a real desktop: its settings store and its closing, driven as an
// operator drives them.
#include "Desktop.h"

#include "settings/uRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Title = QStringLiteral("Merovan");

class RealProgram : public ::testing::Test {
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
    // Settings as the program finds them, written before it starts.
    void Seed(const QString &section, const QString &name, const TSettingsValue &value) {
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(desktop.ConfigHome()));
        WriteToHKCUkey(Title, section, name, value);
        qputenv("XDG_CONFIG_HOME", previous);
    }
    TSettingsValue Stored(const QString &section, const QString &name) {
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(desktop.ConfigHome()));
        TSettingsValue value = ReadFromHKCUkey(Title, section, name, int(TSettingsTag::String),
                                               TSettingsValue::Text(QStringLiteral("-")));
        qputenv("XDG_CONFIG_HOME", previous);
        return value;
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

// A store that is a link, or someone else's file, is never written: closing shows the
// store's error and keeps the window; the link and what it points to stay as they were.
TEST_F(RealProgram, LinkedOrForeignStoreIsRefusedAndLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = desktop.ConfigHome() + QStringLiteral("/someone-elses-file");
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0644), 0);
    if (::geteuid() == 0) {
        // Someone else's store, in the user's folder: only root can set this up.
        ASSERT_TRUE(QFile::copy(target, store));
        ASSERT_EQ(::chown(QFile::encodeName(store).constData(), 65534, 65534), 0);
        ASSERT_NO_FATAL_FAILURE(ExpectCloseRefused("a foreign store"));
        EXPECT_EQ(QFileInfo(store).size(), 0);
        EXPECT_EQ(Mode(store), 0644u);
        desktop.StopProgram();
        ASSERT_TRUE(QFile::remove(store));
    }
    ASSERT_TRUE(QFile::link(target, store));
    ASSERT_NO_FATAL_FAILURE(ExpectCloseRefused("a linked store"));
    EXPECT_TRUE(desktop.WindowShown("Druk Tabliczki"));
    EXPECT_TRUE(QFileInfo(store).isSymLink());
    EXPECT_EQ(QFileInfo(target).size(), 0);
    EXPECT_EQ(Mode(target), 0644u);
}

// The user's own loose folder and store are tightened by the close's save.
TEST_F(RealProgram, CloseTightensTheUsersOwnLooseStore) {
    Seed(QStringLiteral("Dane"), QStringLiteral("Edit1"), TSettingsValue::Text("OPEL"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(store).constData(), 0666), 0);
    ASSERT_TRUE(desktop.StartProgram());
    CloseMain();
    int code = -1;
    ASSERT_TRUE(desktop.ProgramEnded(10000, &code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Mode(folder), 0700u);
    EXPECT_EQ(Mode(store), 0600u);
    EXPECT_EQ(Stored(QStringLiteral("Dane"), QStringLiteral("Edit1")),
              TSettingsValue::Text("OPEL"));
}

// Closing the main window while a preview is open ends the program, the fields saved.
TEST_F(RealProgram, ClosingOverAnOpenPreviewEndsTheProgram) {
    const char *fields[] = {"FORD", "FOCUS", "WF0AXXGCDA1234567", "KR/001"};
    for (int n = 1; n <= 4; ++n)
        Seed(QStringLiteral("Dane"), QStringLiteral("Edit%1").arg(n),
             TSettingsValue::Text(QLatin1String(fields[n - 1])));
    ASSERT_TRUE(desktop.StartProgram());
    const qulonglong main = desktop.WaitForWindow("Druk Tabliczki");
    desktop.Click(main, 26 + 20, 51 + 32 + 20); // the first marker of the sheet
    desktop.Keys(main, "alt+p");
    ASSERT_NE(desktop.WaitForWindow(QStringLiteral("Report Preview : Quendrel")), 0u);
    CloseMain();
    int code = -1;
    ASSERT_TRUE(desktop.ProgramEnded(10000, &code)) << "the program kept running";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Stored(QStringLiteral("Dane"), QStringLiteral("Edit4")),
              TSettingsValue::Text("KR/001"));
}

} // namespace
