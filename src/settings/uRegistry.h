// The per-user settings store: one typed value per call, under the key
// "SOFTWARE\ZOVI Software\" + title + "\" + section + "\". Reads never fail towards the
// caller (they yield the default); writes raise "Failed to set data for '%s'".
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

// Tag numbers double as the type codes a read asks for.
enum class TSettingsTag : int {
    Empty = 0,
    SmallInt = 2,
    Integer = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    Boolean = 11,
    Byte = 17,
    String = 256,
    Unsupported = -1, // any other kind a caller might hand over (e.g. a wide string)
};

class TSettingsValue {
public:
    TSettingsValue() = default; // empty
    static TSettingsValue Text(const QString &text);
    static TSettingsValue Integer(std::int32_t value);
    static TSettingsValue SmallInt(std::int16_t value);
    static TSettingsValue Byte(std::uint8_t value);
    static TSettingsValue Boolean(bool value);
    static TSettingsValue Single(float value);
    static TSettingsValue Double(double value);
    static TSettingsValue Currency(std::int64_t tenThousandths);
    static TSettingsValue Date(double daysSince18991230);
    static TSettingsValue Unsupported();

    TSettingsTag tag() const { return tag_; }
    bool isEmpty() const { return tag_ == TSettingsTag::Empty; }
    QString toText() const;     // text of any kind, as the platform's conversion gives it
    std::int32_t toInt() const; // 0 when not a number
    bool toBool() const;        // non-zero numbers are true
    double toDouble() const;
    std::int64_t toCurrency() const;

    friend bool operator==(const TSettingsValue &, const TSettingsValue &) = default;

private:
    TSettingsTag tag_ = TSettingsTag::Empty;
    std::variant<std::monostate, QString, std::int64_t, double, bool> value_;
};

void WriteToHKCUkey(const QString &title, const QString &section, const QString &name,
                    const TSettingsValue &value);
// One value of a write of several: its section, its name and what it holds.
struct TSettingsEntry {
    QString section;
    QString name;
    TSettingsValue value;
};
// Several values, of one section or several, in one write: all of them land, or none does and
// the store keeps what it held. Raises "Failed to set data for '%s'" with the first value's
// name.
void WriteValuesToHKCUkey(const QString &title, const std::vector<TSettingsEntry> &values);

// Removes a value; none there is no fault. Raises "Failed to delete data for '%s'".
void DeleteFromHKCUkey(const QString &title, const QString &section, const QString &name);

TSettingsValue ReadFromHKCUkey(const QString &title, const QString &section, const QString &name,
                               int typeCode, const TSettingsValue &defaultValue);
