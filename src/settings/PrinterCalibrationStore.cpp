#include "PrinterCalibrationStore.h"

#include "settings/uRegistry.h"

#include <array>
#include <cstdlib>

namespace {

QString Section(const QString &printer) {
    return QStringLiteral("Kalibracja\\") + CalibrationKeyName(printer);
}

struct Field {
    const char *name;
    qint32 TCalibrationValues::*value;
    qint32 limit;
};
constexpr std::array<Field, 4> Fields{{
    {"ShiftX", &TCalibrationValues::ShiftXMicrometres, MaxShiftMicrometres},
    {"StretchX", &TCalibrationValues::StretchXPpm, MaxStretchPpm},
    {"ShiftY", &TCalibrationValues::ShiftYMicrometres, MaxShiftMicrometres},
    {"StretchY", &TCalibrationValues::StretchYPpm, MaxStretchPpm},
}};

const QString DateName = QStringLiteral("Data");

} // namespace

QString CalibrationKeyName(const QString &printer) {
    return QString::fromLatin1(printer.toUtf8().toPercentEncoding("-_.", "~"));
}

TStoredCalibration ReadCalibration(const QString &title, const QString &printer) {
    TCalibrationValues values;
    for (const Field &field : Fields) {
        const TSettingsValue stored =
            ReadFromHKCUkey(title, Section(printer), QLatin1String(field.name),
                            int(TSettingsTag::Integer), TSettingsValue());
        // A value beyond the plausible was not written here; it could even stretch the page
        // to nothing.
        const qint64 value = stored.toInt();
        if (stored.tag() != TSettingsTag::Integer || std::abs(value) > field.limit)
            return {};
        values.*field.value = qint32(value);
    }
    const QString date = ReadFromHKCUkey(title, Section(printer), DateName,
                                         int(TSettingsTag::String), TSettingsValue())
                             .toText();
    return {values, QDate::fromString(date, Qt::ISODate)};
}

void WriteCalibration(const QString &title, const QString &printer,
                      const TCalibrationValues &values, const QDate &date) {
    std::vector<TSettingsEntry> named;
    for (const Field &field : Fields)
        named.push_back({Section(printer), QLatin1String(field.name),
                         TSettingsValue::Integer(values.*field.value)});
    named.push_back({Section(printer), DateName, TSettingsValue::Text(date.toString(Qt::ISODate))});
    WriteValuesToHKCUkey(title, named);
}

void DeleteCalibration(const QString &title, const QString &printer) {
    for (const Field &field : Fields)
        DeleteFromHKCUkey(title, Section(printer), QLatin1String(field.name));
    DeleteFromHKCUkey(title, Section(printer), DateName);
}
