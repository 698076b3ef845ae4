// The built program on a real desktop: its settings store and its closing, driven as an
// operator drives them.
#include "RealProgramFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using RealProgram = RealProgramFixture;

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
    desktop.Keys(main, "Tab Tab Tab Tab Tab 1"); // from "Podgląd" to the sheet: position 1
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
