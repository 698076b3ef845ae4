// The register of issued plates against real SQLite files: what goes in comes out, a write
// killed at any moment leaves every acknowledged row and no torn one, and a register that is
// a link, someone else's, no register at all or of a newer version is refused and left alone.
#include "register/PlateRegister.h"

#include "platform/Application.h"
#include "platform/PrivateDatabase.h"
#include "support/FolderSnapshot.h"
#include "support/Processes.h"
#include "support/QtPrint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class PlateRegister : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(home_.path()));
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", previous_); }
    QString Folder() const { return home_.path() + QStringLiteral("/merovan"); }

    QTemporaryDir home_;
    QByteArray previous_;
};

// A plate whose every field says which one it is, so a row mixing two plates cannot pass.
TRegisterEntry Plate(int n) {
    TRegisterEntry plate;
    plate.PrintedAt = QDateTime(QDate(2026, 1, 1).addDays(n % 300), QTime(8, 0).addSecs(n),
                                QTimeZone(3600 * ((n % 3) - 1)));
    plate.User = QStringLiteral("operator%1").arg(n);
    plate.Printer = QStringLiteral("Drukarka %1").arg(n);
    if (n % 2)
        plate.Calibration = std::array<qint32, 4>{n, -n, 2 * n, -2 * n};
    plate.SheetPositions = n % 2 ? 10 : 8;
    plate.Position = 1 + n % 8;
    plate.Texts = {QStringLiteral("MARKA%1").arg(n), QStringLiteral("MODEL%1").arg(n),
                   QStringLiteral("BODY%1").arg(n), QStringLiteral("S%1").arg(n)};
    plate.Job = 1000 + n;
    return plate;
}

TEST_F(PlateRegister, WhatIsRecordedReadsBackNewestFirst) {
    TRegisterEntry longest = Plate(2);
    longest.Texts = {QString(32, u'Ż'), QStringLiteral("ŁÓDŹ ĆMA ŚĘ Ą Ń ") + QString(16, u'Ź'),
                     QString(20, u'W'), QString(9, u'Ę')};
    longest.Printer = QStringLiteral("Drukarka „Łódź” 2");
    longest.User = QStringLiteral("józef");
    EXPECT_EQ(TRegisterReader().Count({}), 0); // nothing issued: no register, and none made
    EXPECT_FALSE(QFile::exists(RegisterPath()));
    const std::vector<TRegisterEntry> plates{Plate(1), longest, Plate(3)};
    for (const TRegisterEntry &plate : plates)
        RecordPlate(plate);
    TRegisterReader reader;
    std::vector<TRegisterEntry> read = reader.Rows({}, 0, 10);
    ASSERT_EQ(read.size(), 3u);
    // Newest first; each as recorded, with the id the register gave it.
    for (std::size_t i = 0; i < read.size(); ++i) {
        TRegisterEntry expected = plates[read.size() - 1 - i];
        expected.Id = read[i].Id;
        EXPECT_EQ(read[i], expected) << i;
        EXPECT_EQ(read[i].PrintedAt.offsetFromUtc(), expected.PrintedAt.offsetFromUtc());
    }
    EXPECT_EQ(reader.LastWithBody(QStringLiteral("  wwwwwwwwwwwwwwwwwwww ")).value().Id,
              read[1].Id);
    EXPECT_EQ(reader.LastWithBody(QStringLiteral("BODY9")), std::nullopt);
    EXPECT_EQ(QFileInfo(Folder()).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ExeOwner | QFile::ReadUser |
                                                              QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QFileInfo(RegisterPath()).permissions() & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

// The writer records plate after plate; the kill lands at a random moment of a write.
TEST_F(PlateRegister, WriteKilledAtAnyMomentKeepsEveryAcknowledgedRowAndNoTornOne) {
    const unsigned seed = std::random_device()();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    constexpr int Rounds = 200;
    int acknowledged = 0;
    int interrupted = 0;
    for (int round = 0; round < Rounds; ++round) {
        const int finished = KillDuringWrites(
            acknowledged, [](int n) { RecordPlate(Plate(n)); }, random);
        ASSERT_GE(finished, 2) << "round " << round;
        interrupted += QFile::exists(RegisterPath() + "-journal");
        acknowledged += finished;

        // Every acknowledged plate is there; the one cut off is there whole or not at all.
        TRegisterReader reader;
        const int count = reader.Count({});
        ASSERT_TRUE(count == acknowledged || count == acknowledged + 1)
            << "round " << round << ": " << count << " rows, " << acknowledged << " acknowledged";
        const std::vector<TRegisterEntry> newest = reader.Rows({}, 0, count);
        for (const TRegisterEntry &row : newest) {
            const int n = row.Job - 1000;
            TRegisterEntry expected = Plate(n);
            expected.Id = row.Id;
            ASSERT_EQ(row, expected) << "round " << round << ": a torn row";
        }
        acknowledged = count; // the one in flight, when it landed, is a plate of its own
    }
    EXPECT_GT(interrupted, 0) << "no kill landed in the middle of a write";
    RecordProperty("interrupted", interrupted);
}

// A register that is not the user's own plain file, not a register, or of a newer version:
// recording refuses with a clear message, and so does reading, but for someone else's file,
// which reads as the settings store does; everything stays as it was.
TEST_F(PlateRegister, ALinkedForeignAlienOrNewerRegisterIsRefusedAndLeftAlone) {
    struct Case {
        const char *what;
        std::function<void(const QString &)> make;
        const char *message;
        bool readable = false;
    };
    const QString elsewhere = home_.path() + QStringLiteral("/elsewhere");
    QDir().mkpath(elsewhere);
    const Case cases[] = {
        {"a link to someone's file",
         [&](const QString &file) {
             QFile target(elsewhere + "/notes");
             ASSERT_TRUE(target.open(QIODevice::WriteOnly));
             target.write("notes");
             target.close();
             ASSERT_TRUE(QFile::link(elsewhere + "/notes", file));
         },
         "nie daje się"},
        {"someone else's register",
         [&](const QString &file) {
             RecordPlate(Plate(1));
             if (::geteuid() == 0) {
                 ASSERT_EQ(::chown(QFile::encodeName(file).constData(), 65534, 65534), 0);
             } else {
                 GTEST_SKIP() << "only root can give a file to someone else";
             }
         },
         "nie daje się", true},
        {"another program's database",
         [&](const QString &file) {
             sqlite3 *db = nullptr;
             ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
             sqlite3_exec(db, "CREATE TABLE notes (text)", nullptr, nullptr, nullptr);
             sqlite3_close(db);
         },
         "nie jest rejestrem tabliczek; pozostawiono go bez zmian"},
        {"a register of a newer program",
         [&](const QString &file) {
             RecordPlate(Plate(1));
             sqlite3 *db = nullptr;
             ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
             sqlite3_exec(db, "PRAGMA user_version = 2", nullptr, nullptr, nullptr);
             sqlite3_close(db);
         },
         "pochodzi z nowszej wersji programu (wersja rejestru 2, ta wersja zna 1); pozostawiono "
         "go bez zmian"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(Folder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(Folder()));
        // The folder as the program keeps it: a write makes a loose one private.
        ASSERT_TRUE(QFile::setPermissions(Folder(),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        c.make(RegisterPath());
        if (HasFatalFailure() || IsSkipped())
            return;
        const auto before = Snapshot(home_.path());
        for (const bool writing : {true, false}) {
            if (!writing && c.readable) {
                EXPECT_EQ(TRegisterReader().Count({}), 1);
                continue;
            }
            try {
                if (writing)
                    RecordPlate(Plate(7));
                else
                    TRegisterReader();
                ADD_FAILURE() << (writing ? "recorded" : "read");
            } catch (const platform::Error &refused) {
                EXPECT_TRUE(refused.message().startsWith("Rejestr tabliczek " + RegisterPath()));
                EXPECT_TRUE(refused.message().contains(QString::fromUtf8(c.message)))
                    << refused.message().toStdString();
            }
        }
        EXPECT_EQ(Snapshot(home_.path()), before);
    }
}

} // namespace
