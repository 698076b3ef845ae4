#include "StoreFixture.h"

#include "settings/uRegistry.h"

#include <QFile>
#include <sqlite3.h>

#include <unistd.h>

namespace {

const QString kTitle = QStringLiteral("Merovan");

using StoreProcesses = StoreTest;

// A value several pages long whose every part says which write it came from, so a value
// half old and half new cannot pass for either.
QString Generation(int n) {
    return QString::number(n) + u':' + QString(20000 + (n % 13) * 997, QChar(u'A' + n % 26));
}

QString IntegrityCheck(const QString &file) {
    sqlite3 *db = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt *check = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
        result =
            sqlite3_step(check) == SQLITE_ROW
                ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)))
                : QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(check);
    }
    sqlite3_close(db);
    return result;
}

// What the main window's close writes in one write, every value of generation n.
std::vector<TSettingsEntry> CloseValues(int n) {
    std::vector<TSettingsEntry> values{
        {"Setup", "CheckBox1", TSettingsValue::Boolean(n % 2 != 0)},
        {"Setup", "RadioGroup1", TSettingsValue::Integer(n)},
        {"Setup", "cbDrukarka", TSettingsValue::Integer(-n)},
        {"Setup", "cbDrukarkaNazwa", TSettingsValue::Text(QStringLiteral("Drukarka %1").arg(n))}};
    for (int field = 1; field <= 4; ++field)
        values.push_back(
            {"Dane", QStringLiteral("Edit%1").arg(field),
             TSettingsValue::Text(field == 3 ? Generation(n)
                                             : QStringLiteral("%1/%2").arg(n).arg(field))});
    return values;
}

// True when every value of the close is that of generation n.
bool HoldsGeneration(int n) {
    const auto expected = CloseValues(n);
    return std::all_of(expected.begin(), expected.end(), [](const TSettingsEntry &value) {
        // A value's tag is also the type code that reads it back.
        return ReadFromHKCUkey(kTitle, value.section, value.name, int(value.value.tag()),
                               TSettingsValue()) == value.value;
    });
}

} // namespace

// The writer makes the main window's close write again and again, across two sections, and
// reports each finished write with one byte; the kill lands at a random moment of a later
// write, so rounds do not depend on how fast this machine writes.
TEST_F(StoreProcesses, CloseWriteKilledAtAnyMomentLeavesAllOldOrAllNewValues) {
    const unsigned seed = std::random_device()();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    constexpr int kRounds = 30;
    int interrupted = 0;
    for (int round = 0; round < kRounds; ++round) {
        const int first = round * 100000;
        const int finished = KillDuringWrites(
            first, [](int n) { WriteValuesToHKCUkey(kTitle, CloseValues(n)); }, random);
        ASSERT_GE(finished, 2) << "round " << round;
        interrupted += QFile::exists(storeFile() + "-journal");

        // Every finished write is kept; the one cut off is there whole or not at all.
        ASSERT_TRUE(HoldsGeneration(first + finished - 1) || HoldsGeneration(first + finished))
            << "round " << round << ", " << finished << " writes: "
            << ReadFromHKCUkey(kTitle, "Setup", "RadioGroup1", 3, TSettingsValue()).toInt();
        ASSERT_EQ(IntegrityCheck(storeFile()), "ok") << "round " << round;
        // The store stays writable after every kill.
        WriteToHKCUkey(kTitle, "Setup", "RadioGroup1", TSettingsValue::Integer(round));
        ASSERT_EQ(ReadFromHKCUkey(kTitle, "Setup", "RadioGroup1", 3, TSettingsValue()),
                  TSettingsValue::Integer(round));
    }
    // Some kills landed in the middle of a write.
    EXPECT_GT(interrupted, 0);
    RecordProperty("interrupted", interrupted);
}

TEST_F(StoreProcesses, TwoProcessesWritingAtOnceBothSucceedAndLoseNothing) {
    constexpr int kEach = 20;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = StartChild([&, w] {
            close(start[1]);
            char go;
            if (read(start[0], &go, 1) != 0)
                throw std::runtime_error("no start");
            for (int i = 0; i < kEach; ++i) {
                WriteToHKCUkey(kTitle, "Zamawiajacy", QStringLiteral("W%1-%2").arg(w).arg(i),
                               TSettingsValue::Integer(w * 1000 + i));
                WriteToHKCUkey(kTitle, "Zamawiajacy", "Wspolny",
                               TSettingsValue::Integer(w * 1000 + i));
            }
        });
        ASSERT_GT(writers[w], 0);
    }
    close(start[0]);
    close(start[1]); // both start now
    EXPECT_EQ(WaitChild(writers[0]), 0);
    EXPECT_EQ(WaitChild(writers[1]), 0);

    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(ReadFromHKCUkey(kTitle, "Zamawiajacy", QStringLiteral("W%1-%2").arg(w).arg(i),
                                      3, TSettingsValue()),
                      TSettingsValue::Integer(w * 1000 + i));
    const int last = ReadFromHKCUkey(kTitle, "Zamawiajacy", "Wspolny", 3, TSettingsValue()).toInt();
    EXPECT_TRUE(last == kEach - 1 || last == 1000 + kEach - 1) << last;
}
