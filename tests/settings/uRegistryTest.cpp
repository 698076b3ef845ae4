#include "StoreFixture.h"

#include "platform/Application.h"
#include "platform/Registry.h"
#include "settings/uRegistry.h"
#include "support/Doubles.h"

#include <QFile>
#include <sqlite3.h>

#include <optional>

using platform::RegBinary;
using platform::RegDword;
using platform::RegExpandSz;
using platform::RegistryValue;
using platform::RegSz;

namespace {

const QString kTitle = QStringLiteral("Merovan");
const QString kSetupKey = QStringLiteral("SOFTWARE\\ZOVI Software\\Merovan\\Setup\\");

std::optional<RegistryValue> Stored(const QString &name, const QString &key = kSetupKey) {
    return platform::Registry::real().queryValue(key, name);
}

QByteArray Bytes(std::initializer_list<int> bytes) {
    QByteArray result;
    for (int byte : bytes)
        result.append(char(byte));
    return result;
}

using Settings = StoreTest;

} // namespace

TEST_F(Settings, EachTagIsStoredInItsByteFormAndReadBackByItsTypeCode) {
    const struct {
        const char *what;
        TSettingsValue written;
        RegistryValue stored;
        int typeCode;
        TSettingsValue read;
    } cases[] = {
        {"text",
         TSettingsValue::Text("WAW 1234"),
         {RegSz, QByteArray("WAW 1234\0", 9)},
         256,
         TSettingsValue::Text("WAW 1234")},
        {"Polish text",
         TSettingsValue::Text(QString::fromUtf8("Łódź Żółć")),
         {RegSz, Bytes({0xA3, 0xF3, 0x64, 0x9F, 0x20, 0xAF, 0xF3, 0xB3, 0xE6, 0})},
         256,
         TSettingsValue::Text(QString::fromUtf8("Łódź Żółć"))},
        {"empty text",
         TSettingsValue::Text(""),
         {RegSz, Bytes({0})},
         256,
         TSettingsValue::Text("")},
        {"integer",
         TSettingsValue::Integer(-2),
         {RegDword, Bytes({0xFE, 0xFF, 0xFF, 0xFF})},
         3,
         TSettingsValue::Integer(-2)},
        {"integer",
         TSettingsValue::Integer(0x01020304),
         {RegDword, Bytes({4, 3, 2, 1})},
         3,
         TSettingsValue::Integer(0x01020304)},
        {"16-bit integer widened",
         TSettingsValue::SmallInt(-300),
         {RegDword, Bytes({0xD4, 0xFE, 0xFF, 0xFF})},
         3,
         TSettingsValue::Integer(-300)},
        {"8-bit unsigned",
         TSettingsValue::Byte(200),
         {RegDword, Bytes({200, 0, 0, 0})},
         3,
         TSettingsValue::Integer(200)},
        {"true",
         TSettingsValue::Boolean(true),
         {RegDword, Bytes({1, 0, 0, 0})},
         11,
         TSettingsValue::Boolean(true)},
        {"false",
         TSettingsValue::Boolean(false),
         {RegDword, Bytes({0, 0, 0, 0})},
         11,
         TSettingsValue::Boolean(false)},
        {"double",
         TSettingsValue::Double(0.1),
         {RegBinary, Bytes({0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F})},
         5,
         TSettingsValue::Double(0.1)},
        {"single stored as the double it widens to",
         TSettingsValue::Single(0.1f),
         {RegBinary, Bytes({0, 0, 0, 0xA0, 0x99, 0x99, 0xB9, 0x3F})},
         4,
         TSettingsValue::Double(double(0.1f))},
        // The amount's bytes taken as a double: a currency does not read back as written.
        {"currency",
         TSettingsValue::Currency(12345678),
         {RegBinary, Bytes({0x4E, 0x61, 0xBC, 0, 0, 0, 0, 0})},
         5,
         TSettingsValue::Double(std::bit_cast<double>(qint64(12345678)))},
        {"date",
         TSettingsValue::Date(45000.75),
         {RegBinary, Bytes({0, 0, 0, 0, 0x18, 0xF9, 0xE5, 0x40})},
         7,
         TSettingsValue::Date(45000.75)},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = QStringLiteral("V%1").arg(++n);
        WriteToHKCUkey(kTitle, "Setup", name, c.written);
        EXPECT_EQ(Stored(name), c.stored) << c.what;
        EXPECT_EQ(ReadFromHKCUkey(kTitle, "Setup", name, c.typeCode, TSettingsValue::Text("-")),
                  c.read)
            << c.what;
    }
}

TEST_F(Settings, ReadYieldsTheDefaultWhenTypeOrSizeDoNotFit) {
    const auto dword = [](int v) { return RegistryValue{RegDword, Bytes({v, 0, 0, 0})}; };
    const std::optional<RegistryValue> missing;
    const struct {
        const char *what;
        std::optional<RegistryValue> stored;
        int typeCode;
        TSettingsValue fallback;
        TSettingsValue read;
    } cases[] = {
        {"7 as boolean", dword(7), 11, TSettingsValue::Boolean(false),
         TSettingsValue::Boolean(true)},
        {"0 as boolean", dword(0), 11, TSettingsValue::Boolean(true),
         TSettingsValue::Boolean(false)},
        {"number as integer", dword(7), 3, TSettingsValue::Integer(0), TSettingsValue::Integer(7)},
        {"text \"1\" as integer", RegistryValue{RegSz, QByteArray("1\0", 2)}, 3,
         TSettingsValue::Integer(0), TSettingsValue::Integer(0)},
        {"text \"1\" as integer, other default", RegistryValue{RegSz, QByteArray("1\0", 2)}, 3,
         TSettingsValue::Integer(42), TSettingsValue::Integer(42)},
        {"8-byte number", RegistryValue{RegDword, Bytes({1, 0, 0, 0, 0, 0, 0, 0})}, 3,
         TSettingsValue::Integer(9), TSettingsValue::Integer(9)},
        {"2-byte number", RegistryValue{RegDword, Bytes({1, 0})}, 3, TSettingsValue::Integer(9),
         TSettingsValue::Integer(9)},
        {"binary as boolean", RegistryValue{RegBinary, Bytes({1, 0, 0, 0})}, 11,
         TSettingsValue::Boolean(false), TSettingsValue::Boolean(false)},
        {"missing integer", missing, 3, TSettingsValue::Integer(5), TSettingsValue::Integer(5)},
        {"missing boolean", missing, 11, TSettingsValue::Boolean(true),
         TSettingsValue::Boolean(true)},
        {"4-byte binary as double", RegistryValue{RegBinary, Bytes({0, 0, 0x80, 0x3F})}, 5,
         TSettingsValue::Double(1.5), TSettingsValue::Double(1.5)},
        {"9-byte binary as double", RegistryValue{RegBinary, QByteArray(9, '\0')}, 5,
         TSettingsValue::Double(1.5), TSettingsValue::Double(1.5)},
        {"number as date", RegistryValue{RegDword, QByteArray(8, '\0')}, 7, TSettingsValue::Date(2),
         TSettingsValue::Date(2)},
        {"missing date", missing, 7, TSettingsValue::Date(2), TSettingsValue::Date(2)},
        {"text up to its first zero", RegistryValue{RegSz, QByteArray("ab\0cd\0", 6)}, 256,
         TSettingsValue::Text("-"), TSettingsValue::Text("ab")},
        {"text without a final zero", RegistryValue{RegSz, QByteArray("abc")}, 256,
         TSettingsValue::Text("-"), TSettingsValue::Text("abc")},
        {"expandable text, not expanded", RegistryValue{RegExpandSz, QByteArray("%HOME%\0", 7)},
         256, TSettingsValue::Text("-"), TSettingsValue::Text("%HOME%")},
        {"number as text", dword(7), 256, TSettingsValue::Text("-"), TSettingsValue::Text("-")},
        {"multi-string as text", RegistryValue{7, QByteArray("a\0b\0\0", 5)}, 256,
         TSettingsValue::Text("-"), TSettingsValue::Text("-")},
        {"missing text is empty, not the default", missing, 256, TSettingsValue::Text("-"),
         TSettingsValue::Text("")},
        {"zero-size value as text is empty", RegistryValue{RegDword, {}}, 256,
         TSettingsValue::Text("-"), TSettingsValue::Text("")},
        {"currency code reads nothing", RegistryValue{RegBinary, QByteArray(8, '\1')}, 6,
         TSettingsValue::Integer(1), TSettingsValue()},
        {"16-bit code reads nothing", dword(7), 2, TSettingsValue::Integer(1), TSettingsValue()},
        {"8-bit code reads nothing", dword(7), 17, TSettingsValue::Integer(1), TSettingsValue()},
        {"unknown code reads nothing", dword(7), 1000, TSettingsValue::Integer(1),
         TSettingsValue()},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = QStringLiteral("R%1").arg(++n);
        if (c.stored) {
            ASSERT_TRUE(platform::Registry::real().setValues({{kSetupKey, name, *c.stored}}));
        }
        EXPECT_EQ(ReadFromHKCUkey(kTitle, "Setup", name, c.typeCode, c.fallback), c.read) << c.what;
    }
}

TEST_F(Settings, MissingApplicationKeyYieldsEmptyTextAndDefaults) {
    WriteToHKCUkey("Inny", "Dane", "Edit1", TSettingsValue::Text("X"));
    EXPECT_EQ(ReadFromHKCUkey(kTitle, "Dane", "Edit1", 256, TSettingsValue::Text("-")),
              TSettingsValue::Text(""));
    EXPECT_EQ(ReadFromHKCUkey(kTitle, "Setup", "CheckBox1", 11, TSettingsValue::Boolean(false)),
              TSettingsValue::Boolean(false));
    EXPECT_EQ(ReadFromHKCUkey(kTitle, "Setup", "cbDrukarka", 3, TSettingsValue::Integer(3)),
              TSettingsValue::Integer(3));
}

TEST_F(Settings, WritingCreatesTheSectionKeyWithItsParents) {
    WriteToHKCUkey(kTitle, "Zamawiajacy", "1", TSettingsValue::Text("Firma"));
    WriteToHKCUkey(kTitle, "", "Wersja", TSettingsValue::Integer(2));
    WriteToHKCUkey(kTitle, "Setup", "CheckBox1", TSettingsValue::Boolean(true));

    EXPECT_EQ(Stored("1", "SOFTWARE\\ZOVI Software\\Merovan\\Zamawiajacy"),
              (RegistryValue{RegSz, QByteArray("Firma\0", 6)}));
    // An empty section names the application key itself.
    EXPECT_EQ(Stored("Wersja", "SOFTWARE\\ZOVI Software\\Merovan\\"),
              (RegistryValue{RegDword, Bytes({2, 0, 0, 0})}));
    EXPECT_EQ(Stored("Wersja", kSetupKey), std::nullopt);

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(storeFile()), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt *keys = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT k.path, coalesce(p.path, '') FROM registry_keys k"
                                 " LEFT JOIN registry_keys p ON p.id = k.parent ORDER BY k.path",
                                 -1, &keys, nullptr),
              SQLITE_OK);
    QStringList rows;
    while (sqlite3_step(keys) == SQLITE_ROW)
        rows << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(keys, 0))) +
                    " <- " +
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(keys, 1)));
    sqlite3_finalize(keys);
    sqlite3_close(db);
    EXPECT_EQ(rows, (QStringList{
                        "SOFTWARE <- ",
                        "SOFTWARE\\ZOVI Software <- SOFTWARE",
                        "SOFTWARE\\ZOVI Software\\Merovan <- SOFTWARE\\ZOVI Software",
                        "SOFTWARE\\ZOVI Software\\Merovan\\Setup <- "
                        "SOFTWARE\\ZOVI Software\\Merovan",
                        "SOFTWARE\\ZOVI Software\\Merovan\\Zamawiajacy <- "
                        "SOFTWARE\\ZOVI Software\\Merovan",
                    }));
}

TEST_F(Settings, KeyAndValueNamesCompareWithoutCase) {
    const struct {
        const char *title, *section, *name;
    } spellings[] = {
        {"Merovan", "Zamawiający", "Ulica"},
        {"MEROVAN", "ZAMAWIAJĄCY", "ULICA"},
        {"merovan", "zamawiający", "ulica"},
    };
    int n = 0;
    for (const auto &write : spellings) {
        const TSettingsValue value = TSettingsValue::Integer(++n);
        WriteToHKCUkey(QString::fromUtf8(write.title), QString::fromUtf8(write.section),
                       QString::fromUtf8(write.name), value);
        for (const auto &read : spellings)
            EXPECT_EQ(ReadFromHKCUkey(QString::fromUtf8(read.title),
                                      QString::fromUtf8(read.section), QString::fromUtf8(read.name),
                                      3, TSettingsValue()),
                      value)
                << write.section << " read as " << read.section;
    }
    EXPECT_EQ(
        ReadFromHKCUkey(kTitle, QString::fromUtf8("Zamawiajacy"), "Ulica", 3, TSettingsValue()),
        TSettingsValue())
        << "a letter without its accent is another letter";
}

TEST_F(Settings, TextsOfAnyLengthRoundTrip) {
    const QString pattern = QString::fromUtf8("Zażółć gęślą jaźń ŹDŹBŁO 0123456789 ");
    for (int length : {0, 1, 255, 256, 4095, 4096, 4097, 65536, 1 << 20}) {
        QString text;
        while (text.size() < length)
            text += pattern;
        text.truncate(length);
        WriteToHKCUkey(kTitle, "Dane", "Edit1", TSettingsValue::Text(text));
        EXPECT_EQ(ReadFromHKCUkey(kTitle, "Dane", "Edit1", 256, TSettingsValue()),
                  TSettingsValue::Text(text))
            << length;
    }
}

TEST_F(Settings, TextWithZeroInTheMiddleIsReadUpToIt) {
    WriteToHKCUkey(kTitle, "Dane", "Edit2", TSettingsValue::Text(QString::fromUtf8("AB\0CD", 5)));
    EXPECT_EQ(Stored("Edit2", "SOFTWARE\\ZOVI Software\\Merovan\\Dane"),
              (RegistryValue{RegSz, QByteArray("AB\0CD\0", 6)}));
    EXPECT_EQ(ReadFromHKCUkey(kTitle, "Dane", "Edit2", 256, TSettingsValue()),
              TSettingsValue::Text("AB"));
}

TEST_F(Settings, UnsupportedValueShowsPlainMessageAndWritesNothing) {
    testing_support::RecordingMessages messages;
    platform::SetApplicationTitle(kTitle);
    for (const TSettingsValue &value : {TSettingsValue(), TSettingsValue::Unsupported()})
        EXPECT_NO_THROW(WriteToHKCUkey(kTitle, "Setup", "X", value));
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const auto &shown : messages.shown) {
        EXPECT_EQ(shown.kind, platform::MessageKind::Plain);
        EXPECT_EQ(shown.caption, kTitle);
        EXPECT_EQ(shown.text, QString::fromUtf8("Błąd: WriteToHKCUkey"));
    }
    EXPECT_FALSE(QFile::exists(storeFile()));
}

TEST(SettingsValue, Conversions) {
    const struct {
        TSettingsValue value;
        const char *text;
        int integer;
        bool boolean;
        double number;
    } cases[] = {
        {TSettingsValue(), "", 0, false, 0},
        {TSettingsValue::Text("12"), "12", 0, false, 0},
        {TSettingsValue::Integer(-7), "-7", -7, true, -7},
        {TSettingsValue::Byte(255), "255", 255, true, 255},
        {TSettingsValue::Boolean(true), "True", 1, true, 1},
        {TSettingsValue::Boolean(false), "False", 0, false, 0},
        {TSettingsValue::Double(2.5), "2.5", 2, true, 2.5},
        {TSettingsValue::Double(3.5), "3.5", 4, true, 3.5},
        {TSettingsValue::Currency(15000), "1.5", 2, true, 1.5},
        {TSettingsValue::Date(45000.75), "2023-03-15 18:00:00", 45001, true, 45000.75},
        {TSettingsValue::Date(-1.25), "1899-12-29 06:00:00", -1, true, -1.25},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.value.toText(), QString::fromUtf8(c.text)) << c.text;
        EXPECT_EQ(c.value.toInt(), c.integer) << c.text;
        EXPECT_EQ(c.value.toBool(), c.boolean) << c.text;
        EXPECT_EQ(c.value.toDouble(), c.number) << c.text;
    }
    EXPECT_EQ(TSettingsValue::Currency(-12345678).toCurrency(), -12345678);
}
