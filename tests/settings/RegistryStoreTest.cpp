#include "StoreFixture.h"

#include "platform/Application.h"
#include "platform/Registry.h"
#include "settings/uRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kTitle = QStringLiteral("Merovan");

using RegistryStore = StoreTest;

int Mode(const QString &path) {
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

bool SetMode(const QString &path, int mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void StoreSample() {
    WriteToHKCUkey(kTitle, "Setup", "RadioGroup1", TSettingsValue::Integer(2));
    WriteToHKCUkey(kTitle, "Dane", "Edit1", TSettingsValue::Text("WAW"));
}

// What reads and a write give; the lines are compared whole so a report names every miss.
QString ReadAndWrite() {
    QStringList seen;
    seen << "RadioGroup1=" +
                ReadFromHKCUkey(kTitle, "Setup", "RadioGroup1", 3, TSettingsValue::Integer(4))
                    .toText();
    seen << "Edit1=" + ReadFromHKCUkey(kTitle, "Dane", "Edit1", 256, TSettingsValue()).toText();
    try {
        WriteToHKCUkey(kTitle, "Setup", "CheckBox1", TSettingsValue::Boolean(true));
        seen << "written";
    } catch (const platform::Error &e) {
        seen << e.message();
    }
    return seen.join(u'\n');
}

const QString kDefaultsAndRefused = "RadioGroup1=4\nEdit1=\nFailed to set data for 'CheckBox1'";
const QString kStoredAndRefused = "RadioGroup1=2\nEdit1=WAW\nFailed to set data for 'CheckBox1'";

} // namespace

TEST_F(RegistryStore, FolderIsCreated0700AndFile0600WhateverTheUmask) {
    const mode_t previous = ::umask(0);
    const QString configHome = home() + "/nowy/.config";
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome));
    WriteToHKCUkey(kTitle, "Zamawiajacy", "5", TSettingsValue::Text("NIP 123-456-32-18"));
    ::umask(previous);

    EXPECT_EQ(platform::RegistryStorePath(), configHome + "/ZOVI Software/registry.db");
    EXPECT_EQ(Mode(configHome), 0700);
    EXPECT_EQ(Mode(configHome + "/ZOVI Software"), 0700);
    EXPECT_EQ(Mode(configHome + "/ZOVI Software/registry.db"), 0600);
    EXPECT_EQ(ReadFromHKCUkey(kTitle, "Zamawiajacy", "5", 256, TSettingsValue()),
              TSettingsValue::Text("NIP 123-456-32-18"));
}

TEST_F(RegistryStore, RelativeConfigHomeIsIgnored) {
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(platform::RegistryStorePath(),
              QDir::homePath() + "/.config/ZOVI Software/registry.db");
}

TEST_F(RegistryStore, ReadingCreatesNothing) {
    EXPECT_EQ(ReadFromHKCUkey(kTitle, "Setup", "CheckBox1", 11, TSettingsValue::Boolean(true)),
              TSettingsValue::Boolean(true));
    EXPECT_EQ(ReadFromHKCUkey(kTitle, "Dane", "Edit1", 256, TSettingsValue()),
              TSettingsValue::Text(""));
    EXPECT_TRUE(Snapshot(home()).isEmpty());

    ASSERT_TRUE(QDir().mkpath(storeFolder()));
    EXPECT_EQ(ReadFromHKCUkey(kTitle, "Setup", "RadioGroup1", 3, TSettingsValue::Integer(1)),
              TSettingsValue::Integer(1));
    EXPECT_FALSE(QFile::exists(storeFile()));
}

TEST_F(RegistryStore, EmptyFileBecomesTheStore) {
    ASSERT_TRUE(QDir().mkpath(storeFolder()));
    WriteFile(storeFile(), {});
    StoreSample();
    EXPECT_EQ(ReadAndWrite(), "RadioGroup1=2\nEdit1=WAW\nwritten");
}

// Whatever is in the store's place and is not a store of this system is left exactly as it
// is: reads give the defaults and writes raise.
TEST_F(RegistryStore, ForeignOrBrokenStoreIsNeverRepaired) {
    const struct {
        const char *what;
        void (*make)(const QString &folder, const QString &file);
    } cases[] = {
        {"a text file",
         [](const QString &, const QString &file) {
             WriteFile(file, QByteArray("Notatki operatora\n").repeated(300));
         }},
        {"another program's database",
         [](const QString &, const QString &file) {
             sqlite3 *db = nullptr;
             sqlite3_open(QFile::encodeName(file).constData(), &db);
             sqlite3_exec(db, "CREATE TABLE notes (text); INSERT INTO notes VALUES ('x')", nullptr,
                          nullptr, nullptr);
             sqlite3_close(db);
         }},
        {"a store cut short",
         [](const QString &, const QString &file) {
             StoreSample();
             QFile store(file);
             ASSERT_TRUE(store.open(QIODevice::ReadWrite));
             ASSERT_TRUE(store.resize(100));
         }},
        {"a folder in the file's place",
         [](const QString &, const QString &file) {
             ASSERT_TRUE(QDir().mkpath(file));
             WriteFile(file + "/plik", "dane");
         }},
    };
    for (const auto &c : cases) {
        QDir(storeFolder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(storeFolder()));
        ASSERT_TRUE(SetMode(storeFolder(), 0700)); // a write takes loose rights away
        c.make(storeFolder(), storeFile());
        const auto before = Snapshot(home());
        EXPECT_EQ(ReadAndWrite(), kDefaultsAndRefused) << c.what;
        EXPECT_EQ(Snapshot(home()), before) << c.what;
    }
}

TEST_F(RegistryStore, FileInTheFolderPlaceIsLeftAlone) {
    WriteFile(storeFolder(), "nie folder");
    const auto before = Snapshot(home());
    EXPECT_EQ(ReadAndWrite(), kDefaultsAndRefused);
    EXPECT_EQ(Snapshot(home()), before);
}

// Run as another user (root ignores file modes): a store that cannot be read gives the
// defaults, one that can only be read gives its values, and neither is changed.
TEST_F(RegistryStore, StoreWithoutRightsIsReadWhereAllowedAndNeverChanged) {
    const struct {
        const char *what;
        bool stored;
        int homeMode, folderMode, fileMode;
        QString expected;
    } cases[] = {
        {"another user's store", true, 0755, 0700, 0600, kDefaultsAndRefused},
        {"unreadable file", true, 0755, 0755, 0600, kDefaultsAndRefused},
        {"read-only configuration folder, no store", false, 0555, 0, 0, kDefaultsAndRefused},
        {"read-only store folder", true, 0755, 0555, 0666, kStoredAndRefused},
        {"write-protected file", true, 0755, 0777, 0444, kStoredAndRefused},
    };
    for (const auto &c : cases) {
        QDir(storeFolder()).removeRecursively();
        if (c.stored) {
            StoreSample();
            ASSERT_TRUE(SetMode(storeFile(), c.fileMode));
            ASSERT_TRUE(SetMode(storeFolder(), c.folderMode));
        }
        ASSERT_TRUE(SetMode(home(), c.homeMode));
        const auto before = Snapshot(home());
        EXPECT_EQ(RunUnprivileged(ReadAndWrite), c.expected) << c.what;
        EXPECT_EQ(Snapshot(home()), before) << c.what;
        SetMode(home(), 0700);
        SetMode(storeFolder(), 0700);
    }
}

// A link in the store's place, for the file, its journal or its folder, is never followed:
// reads give the defaults, writes raise, and the link and what it points to stay as they are.
TEST_F(RegistryStore, LinkedStoreIsTreatedAsDamaged) {
    const QString elsewhere = home() + "/elsewhere";
    const struct {
        const char *what;
        void (*make)(const QString &folder, const QString &file, const QString &elsewhere);
    } cases[] = {
        {"file linked to someone's empty file",
         [](const QString &, const QString &file, const QString &target) {
             WriteFile(target + "/notes.txt", {});
             ASSERT_TRUE(SetMode(target + "/notes.txt", 0644));
             ASSERT_TRUE(QFile::link(target + "/notes.txt", file));
         }},
        {"file linked to a store",
         [](const QString &, const QString &file, const QString &target) {
             StoreSample();
             ASSERT_TRUE(QFile::rename(file, target + "/registry.db"));
             ASSERT_TRUE(QFile::link(target + "/registry.db", file));
         }},
        {"dangling link",
         [](const QString &, const QString &file, const QString &target) {
             ASSERT_TRUE(QFile::link(target + "/missing.db", file));
         }},
        {"journal linked",
         [](const QString &, const QString &file, const QString &target) {
             StoreSample();
             WriteFile(target + "/journal", {});
             ASSERT_TRUE(QFile::link(target + "/journal", file + "-journal"));
         }},
    };
    for (const auto &c : cases) {
        QDir(storeFolder()).removeRecursively();
        QDir(elsewhere).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(storeFolder()));
        ASSERT_TRUE(SetMode(storeFolder(), 0700)); // a write takes loose rights away
        ASSERT_TRUE(QDir().mkpath(elsewhere));
        c.make(storeFolder(), storeFile(), elsewhere);
        const auto before = Snapshot(home());
        EXPECT_EQ(ReadAndWrite(), kDefaultsAndRefused) << c.what;
        EXPECT_EQ(Snapshot(home()), before) << c.what;
    }

    QDir(storeFolder()).removeRecursively();
    StoreSample();
    ASSERT_TRUE(QFile::rename(storeFolder(), elsewhere + "/ZOVI"));
    ASSERT_TRUE(QFile::link(elsewhere + "/ZOVI", storeFolder()));
    const auto before = Snapshot(home());
    EXPECT_EQ(ReadAndWrite(), kDefaultsAndRefused) << "folder linked";
    EXPECT_EQ(Snapshot(home()), before) << "folder linked";
    EXPECT_TRUE(QFileInfo(storeFolder()).isSymLink());
}

// Loose rights of the user's own folder and file are taken away by a write; a folder or file
// of someone else's is refused, and someone else's journal is never played back into the store.
TEST_F(RegistryStore, WriteTightensOwnStoreAndRefusesAForeignOne) {
    StoreSample();
    ASSERT_TRUE(SetMode(storeFolder(), 0777));
    ASSERT_TRUE(SetMode(storeFile(), 0666));
    EXPECT_EQ(ReadAndWrite(), "RadioGroup1=2\nEdit1=WAW\nwritten");
    EXPECT_EQ(Mode(storeFolder()), 0700);
    EXPECT_EQ(Mode(storeFile()), 0600);

    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    const struct {
        QString foreign;
        QString readAndWrite;
    } cases[] = {
        {storeFile(), kStoredAndRefused},
        {storeFolder(), kStoredAndRefused},
        {storeFile() + "-journal", kDefaultsAndRefused},
    };
    for (const auto &c : cases) {
        QDir(storeFolder()).removeRecursively();
        StoreSample();
        if (!QFile::exists(c.foreign))
            WriteFile(c.foreign, "a journal left by someone else");
        ASSERT_EQ(::chown(QFile::encodeName(c.foreign).constData(), 65534, 65534), 0);
        const auto before = Snapshot(home());
        EXPECT_EQ(ReadAndWrite(), c.readAndWrite) << c.foreign.toStdString();
        EXPECT_EQ(Snapshot(home()), before) << c.foreign.toStdString();
    }
}
