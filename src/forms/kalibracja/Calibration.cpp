#include "forms/kalibracja/Calibration.h"

#include <QLocale>

#include <cmath>
#include <optional>

namespace {

// Both programs keep the corrections under the main program's name.
const QString StoreTitle = QStringLiteral("Merovan");

constexpr double MaxShiftMm = MaxShiftMicrometres / 1000.0;
constexpr double MaxStretch = MaxStretchPpm / 1e6;

std::optional<double> Millimetres(const QString &typed) {
    QString text = typed.trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Polish(double value, int decimals) {
    QString text = QLocale::c().toString(std::abs(value), 'f', decimals).replace(u'.', u',');
    return (value < 0 ? QStringLiteral("−") : QStringLiteral("+")) + text;
}

QString Quoted(int field) {
    return QStringLiteral("„%1”").arg(QLatin1String(CalibrationMarkNames[std::size_t(field)]));
}

} // namespace

std::variant<TCalibrationValues, QString> CalibrationFromReadings(const CalibrationReadings &r) {
    std::array<double, 4> read{};
    for (std::size_t i = 0; i < r.size(); ++i) {
        const std::optional<double> value = Millimetres(r[i]);
        if (!value)
            return QStringLiteral("Pole %1: „%2” nie jest liczbą milimetrów.")
                .arg(Quoted(int(i)), r[i].trimmed());
        read[i] = *value;
    }
    TCalibrationValues values;
    const char *axes[] = {"w poziomie", "w pionie"};
    for (int axis = 0; axis < 2; ++axis) {
        const std::size_t first = std::size_t(2 * axis);
        const double p1 = CalibrationMarks[first];
        const double p2 = CalibrationMarks[first + 1];
        // The printer put p at a + b·p.
        const double b = (read[first + 1] - read[first]) / (p2 - p1);
        const double a = read[first] - b * p1;
        const QString fields = Quoted(int(first)) + QStringLiteral(" i ") + Quoted(int(first) + 1);
        if (std::abs(b - 1) > MaxStretch)
            return QStringLiteral("Rozciągnięcie %1 z pól %2 wynosi %3 % — więcej niż 2 %. "
                                  "Sprawdź odczyty.")
                .arg(QLatin1String(axes[axis]), fields, Polish((b - 1) * 100, 2));
        if (std::abs(a) > MaxShiftMm)
            return QStringLiteral("Przesunięcie %1 z pól %2 wynosi %3 mm — więcej niż 5 mm. "
                                  "Sprawdź odczyty.")
                .arg(QLatin1String(axes[axis]), fields, Polish(a, 2));
        const auto shift = qint32(std::lround(a * 1000));
        const auto stretch = qint32(std::lround((b - 1) * 1e6));
        if (axis == 0) {
            values.ShiftXMicrometres = shift;
            values.StretchXPpm = stretch;
        } else {
            values.ShiftYMicrometres = shift;
            values.StretchYPpm = stretch;
        }
    }
    return values;
}

QString DescribeAxis(qint32 shiftMicrometres, qint32 stretchPpm) {
    return QStringLiteral("przesunięcie %1 mm, rozciągnięcie %2 ‰")
        .arg(Polish(shiftMicrometres / 1000.0, 2), Polish(stretchPpm / 1000.0, 2));
}

TCalibrationValues StoredCalibration(const QString &printer) {
    return ReadCalibration(StoreTitle, printer);
}

void SaveCalibration(const QString &printer, const TCalibrationValues &values) {
    WriteCalibration(StoreTitle, printer, values);
}

void RemoveCalibration(const QString &printer) {
    DeleteCalibration(StoreTitle, printer);
}

TRpCalibration StoredCorrection(const QString &printer) {
    const TCalibrationValues values = StoredCalibration(printer);
    return {{values.ShiftXMicrometres, values.StretchXPpm},
            {values.ShiftYMicrometres, values.StretchYPpm}};
}
