#include "uRegistry.h"

#include "platform/Application.h"
#include "platform/Cp1250.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "platform/Service.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

using platform::RegistryValue;

// ---- TSettingsValue ----

TSettingsValue TSettingsValue::Text(const QString &text) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::String;
    v.value_ = text;
    return v;
}

TSettingsValue TSettingsValue::Integer(std::int32_t value) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::Integer;
    v.value_ = std::int64_t(value);
    return v;
}

TSettingsValue TSettingsValue::SmallInt(std::int16_t value) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::SmallInt;
    v.value_ = std::int64_t(value);
    return v;
}

TSettingsValue TSettingsValue::Byte(std::uint8_t value) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::Byte;
    v.value_ = std::int64_t(value);
    return v;
}

TSettingsValue TSettingsValue::Boolean(bool value) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::Boolean;
    v.value_ = value;
    return v;
}

TSettingsValue TSettingsValue::Single(float value) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::Single;
    v.value_ = double(value);
    return v;
}

TSettingsValue TSettingsValue::Double(double value) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::Double;
    v.value_ = value;
    return v;
}

TSettingsValue TSettingsValue::Currency(std::int64_t tenThousandths) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::Currency;
    v.value_ = tenThousandths;
    return v;
}

TSettingsValue TSettingsValue::Date(double daysSince18991230) {
    TSettingsValue v;
    v.tag_ = TSettingsTag::Date;
    v.value_ = daysSince18991230;
    return v;
}

TSettingsValue TSettingsValue::Unsupported() {
    TSettingsValue v;
    v.tag_ = TSettingsTag::Unsupported;
    return v;
}

QString TSettingsValue::toText() const {
    switch (tag_) {
    case TSettingsTag::String:
        return std::get<QString>(value_);
    case TSettingsTag::Integer:
    case TSettingsTag::SmallInt:
    case TSettingsTag::Byte:
        return QString::number(std::get<std::int64_t>(value_));
    case TSettingsTag::Boolean:
        return std::get<bool>(value_) ? QStringLiteral("True") : QStringLiteral("False");
    case TSettingsTag::Single:
    case TSettingsTag::Double:
    case TSettingsTag::Currency:
        return QString::number(toDouble(), 'g', 15);
    case TSettingsTag::Date: {
        // Whole days from 30 December 1899; the fraction's size is the time of day, also
        // before that day.
        const double days = std::get<double>(value_);
        const double whole = std::trunc(days);
        const qint64 msecs =
            qint64(whole) * 86400000 + std::llround(std::fabs(days - whole) * 86400000.0);
        return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)
            .addMSecs(msecs)
            .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    case TSettingsTag::Empty:
    case TSettingsTag::Unsupported:
        break;
    }
    return {};
}

std::int32_t TSettingsValue::toInt() const {
    switch (tag_) {
    case TSettingsTag::Integer:
    case TSettingsTag::SmallInt:
    case TSettingsTag::Byte:
        return std::int32_t(std::get<std::int64_t>(value_));
    case TSettingsTag::Boolean:
        return std::get<bool>(value_) ? 1 : 0;
    case TSettingsTag::Single:
    case TSettingsTag::Double:
    case TSettingsTag::Currency:
    case TSettingsTag::Date:
        return std::int32_t(std::nearbyint(toDouble())); // half to even
    default:
        return 0;
    }
}

bool TSettingsValue::toBool() const {
    return toDouble() != 0;
}

double TSettingsValue::toDouble() const {
    switch (tag_) {
    case TSettingsTag::Integer:
    case TSettingsTag::SmallInt:
    case TSettingsTag::Byte:
        return double(std::get<std::int64_t>(value_));
    case TSettingsTag::Currency:
        return double(std::get<std::int64_t>(value_)) / 10000.0;
    case TSettingsTag::Boolean:
        return std::get<bool>(value_) ? 1.0 : 0.0;
    case TSettingsTag::Single:
    case TSettingsTag::Double:
    case TSettingsTag::Date:
        return std::get<double>(value_);
    default:
        return 0.0;
    }
}

std::int64_t TSettingsValue::toCurrency() const {
    if (tag_ == TSettingsTag::Currency)
        return std::get<std::int64_t>(value_);
    return std::llround(toDouble() * 10000.0);
}

// ---- the store ----

namespace {

QString KeyPath(const QString &title, const QString &section) {
    QString path = QStringLiteral("SOFTWARE\\ZOVI Software\\") + title + u'\\';
    if (!section.isEmpty())
        path += section + u'\\';
    return path;
}

template <class T> QByteArray LittleEndian(T value) {
    QByteArray bytes(sizeof(T), Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The stored form of a value, or nothing for a tag the store does not hold.
std::optional<RegistryValue> StoredForm(const TSettingsValue &value) {
    switch (value.tag()) {
    case TSettingsTag::String:
        return RegistryValue{platform::RegSz, platform::ToCp1250(value.toText()) + '\0'};
    case TSettingsTag::Integer:
    case TSettingsTag::SmallInt:
    case TSettingsTag::Byte:
    case TSettingsTag::Boolean:
        return RegistryValue{platform::RegDword, LittleEndian(value.toInt())};
    case TSettingsTag::Single:
    case TSettingsTag::Double:
    case TSettingsTag::Date:
        return RegistryValue{platform::RegBinary,
                             LittleEndian(std::bit_cast<quint64>(value.toDouble()))};
    case TSettingsTag::Currency:
        return RegistryValue{platform::RegBinary, LittleEndian(value.toCurrency())};
    case TSettingsTag::Empty:
    case TSettingsTag::Unsupported:
        break;
    }
    return std::nullopt;
}

// A 32-bit number: REG_DWORD of exactly 4 bytes. A shorter one fails too rather than
// yielding bytes nobody stored.
std::optional<std::int32_t> Dword(const std::optional<RegistryValue> &stored) {
    if (!stored || stored->type != platform::RegDword || stored->data.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<std::int32_t>(stored->data.constData());
}

// An 8-byte binary value taken as a double.
std::optional<double> EightBytes(const std::optional<RegistryValue> &stored) {
    if (!stored || stored->type != platform::RegBinary || stored->data.size() != 8)
        return std::nullopt;
    return std::bit_cast<double>(qFromLittleEndian<quint64>(stored->data.constData()));
}

// The stored value in the form the type code asks for; nothing when the read fails.
std::optional<TSettingsValue> ReadAs(const std::optional<RegistryValue> &stored, int typeCode) {
    switch (typeCode) {
    case int(TSettingsTag::Integer):
        if (const auto number = Dword(stored))
            return TSettingsValue::Integer(*number);
        break;
    case int(TSettingsTag::Boolean):
        if (const auto number = Dword(stored))
            return TSettingsValue::Boolean(*number != 0);
        break;
    case int(TSettingsTag::Single):
    case int(TSettingsTag::Double):
        if (const auto number = EightBytes(stored))
            return TSettingsValue::Double(*number);
        break;
    case int(TSettingsTag::Date):
        if (const auto number = EightBytes(stored))
            return TSettingsValue::Date(*number);
        break;
    case int(TSettingsTag::String): {
        // A missing value (or key) is the empty text, not a failure.
        if (!stored || stored->data.isEmpty())
            return TSettingsValue::Text(QString());
        if (stored->type != platform::RegSz && stored->type != platform::RegExpandSz)
            break;
        const qsizetype end = stored->data.indexOf('\0');
        return TSettingsValue::Text(
            platform::FromCp1250(end < 0 ? stored->data : stored->data.left(end)));
    }
    }
    return std::nullopt;
}

bool IsReadTypeCode(int typeCode) {
    constexpr TSettingsTag kRead[] = {TSettingsTag::Integer, TSettingsTag::Single,
                                      TSettingsTag::Double,  TSettingsTag::Date,
                                      TSettingsTag::Boolean, TSettingsTag::String};
    return std::find(std::begin(kRead), std::end(kRead), TSettingsTag(typeCode)) != std::end(kRead);
}

} // namespace

void WriteToHKCUkey(const QString &title, const QString &section, const QString &name,
                    const TSettingsValue &value) {
    WriteValuesToHKCUkey(title, {{section, name, value}});
}

void WriteValuesToHKCUkey(const QString &title, const std::vector<TSettingsEntry> &values) {
    std::vector<platform::RegistryWrite> stored;
    for (const TSettingsEntry &entry : values) {
        const auto form = StoredForm(entry.value);
        if (!form) {
            platform::ShowMessage(platform::MessageKind::Plain,
                                  QStringLiteral("Błąd: WriteToHKCUkey"));
            return;
        }
        stored.push_back({KeyPath(title, entry.section), entry.name, *form});
    }
    if (!stored.empty() && !platform::Service<platform::Registry>::get().setValues(stored))
        throw platform::Error(QStringLiteral("Failed to set data for '%1'").arg(values[0].name));
}

void DeleteFromHKCUkey(const QString &title, const QString &section, const QString &name) {
    if (!platform::Service<platform::Registry>::get().deleteValue(KeyPath(title, section), name))
        throw platform::Error(QStringLiteral("Failed to delete data for '%1'").arg(name));
}

TSettingsValue ReadFromHKCUkey(const QString &title, const QString &section, const QString &name,
                               int typeCode, const TSettingsValue &defaultValue) {
    // Any other type code reads nothing and yields the empty value.
    if (!IsReadTypeCode(typeCode))
        return TSettingsValue();
    const auto stored =
        platform::Service<platform::Registry>::get().queryValue(KeyPath(title, section), name);
    return ReadAs(stored, typeCode).value_or(defaultValue);
}
