#include "PrinterCalibrationStore.h"

#include "settings/uRegistry.h"

#include <array>
#include <optional>

namespace {

QString Section(const QString &printer) {
    return QStringLiteral("Kalibracja\\") + CalibrationKeyName(printer);
}

struct Field {
    const char *name;
    qint32 TCalibrationValues::*value;
};
constexpr std::array<Field, 4> Fields{{
    {"ShiftX", &TCalibrationValues::ShiftXMicrometres},
    {"StretchX", &TCalibrationValues::StretchXPpm},
    {"ShiftY", &TCalibrationValues::ShiftYMicrometres},
    {"StretchY", &TCalibrationValues::StretchYPpm},
}};

} // namespace

QString CalibrationKeyName(const QString &printer) {
    return QString::fromLatin1(printer.toUtf8().toPercentEncoding("-_.", "~"));
}

TCalibrationValues ReadCalibration(const QString &title, const QString &printer) {
    TCalibrationValues values;
    for (const Field &field : Fields) {
        const TSettingsValue stored =
            ReadFromHKCUkey(title, Section(printer), QLatin1String(field.name),
                            int(TSettingsTag::Integer), TSettingsValue());
        if (stored.tag() != TSettingsTag::Integer)
            return {};
        values.*field.value = stored.toInt();
    }
    return values;
}

void WriteCalibration(const QString &title, const QString &printer,
                      const TCalibrationValues &values) {
    // The old values go first: a write refused half-way leaves no correction, never one
    // made of old and new values.
    DeleteCalibration(title, printer);
    for (const Field &field : Fields)
        WriteToHKCUkey(title, Section(printer), QLatin1String(field.name),
                       TSettingsValue::Integer(values.*field.value));
}

void DeleteCalibration(const QString &title, const QString &printer) {
    for (const Field &field : Fields)
        DeleteFromHKCUkey(title, Section(printer), QLatin1String(field.name));
}
