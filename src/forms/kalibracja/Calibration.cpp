#include "Calibration.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

// Both programs keep the corrections under the main program's name.
const QString StoreTitle = QStringLiteral("Merovan");

// The paper across (A, B) and down (C, D), in millimetres.
constexpr std::array<double, 2> Paper{210, 297};

// One axis of a printer's registration, as exact integers.
struct AxisFit {
    qint32 shiftMicrometres = 0;
    qint32 stretchPpm = 0;
    bool Plausible() const {
        return std::abs(shiftMicrometres) <= MaxShiftMicrometres &&
               std::abs(stretchPpm) <= MaxStretchPpm;
    }
};

// The printer put the marks designed at p1 and p2 where r1 and r2 were read: a + b·p.
AxisFit Fit(double r1, double r2, double p1, double p2) {
    const double b = (r2 - r1) / (p2 - p1);
    const double a = r1 - b * p1;
    return {qint32(std::lround(a * 1000)), qint32(std::lround((b - 1) * 1e6))};
}

QString Decimal(double value, int decimals) {
    return QLocale::c().toString(value, 'f', decimals).replace(u'.', u',');
}

QString Signed(double value, int decimals) {
    return (value < 0 ? QStringLiteral("−") : QStringLiteral("+")) +
           Decimal(std::abs(value), decimals);
}

// A refused value rounded away from zero at two decimals, so it never reads as the limit.
QString Beyond(double value) {
    return Signed(std::copysign(std::ceil(std::abs(value) * 100 - 1e-9) / 100, value), 2);
}

QString Quoted(int field) {
    return QStringLiteral("„%1”").arg(QLatin1String(CalibrationMarkNames[std::size_t(field)]));
}

// At most a short piece of what was typed, so a long paste does not fill the screen.
QString Echo(const QString &typed) {
    const QString text = typed.trimmed();
    return text.size() <= 12 ? text : text.left(12) + u'…';
}

QString SheetName(TCalibrationSheet sheet) {
    return sheet == TCalibrationSheet::Calibration ? QStringLiteral("arkusza kalibracyjnego")
                                                   : QStringLiteral("arkusza kontrolnego");
}

QString PartName(TCalibrationSheet sheet) {
    return sheet == TCalibrationSheet::Calibration ? QStringLiteral("„Kalibracja”")
                                                   : QStringLiteral("„Sprawdzenie”");
}

TCalibrationSheet Other(TCalibrationSheet sheet) {
    return sheet == TCalibrationSheet::Calibration ? TCalibrationSheet::Check
                                                   : TCalibrationSheet::Calibration;
}

// Why an axis's readings make no sense on this sheet; empty when they do.
QString AxisFault(TCalibrationSheet sheet, int axis, double r1, double r2) {
    const std::size_t first = std::size_t(2 * axis);
    const auto fitOn = [&](TCalibrationSheet on, double x1, double x2) {
        const auto &marks = MarksOf(on);
        return Fit(x1, x2, marks[first], marks[first + 1]);
    };
    const auto fits = [&](TCalibrationSheet on, double x1, double x2) {
        return fitOn(on, x1, x2).Plausible();
    };
    // Read the other way round, the sheet would show an ordinary printer's error: within half
    // of what is plausible, so a printer just past the limit is not taken for a turned sheet.
    const auto clearly = [&](double x1, double x2) {
        const AxisFit turned = fitOn(sheet, x1, x2);
        return turned.Plausible() && std::abs(turned.shiftMicrometres) <= MaxShiftMicrometres / 2;
    };
    const AxisFit fit = Fit(r1, r2, MarksOf(sheet)[first], MarksOf(sheet)[first + 1]);
    if (fit.Plausible())
        return {};
    const QString fields = Quoted(int(first)) + QStringLiteral(" i ") + Quoted(int(first) + 1);
    if (fits(Other(sheet), r1, r2))
        return QStringLiteral("Odczyty z pól %1 pasują do %2, nie do %3: wpisz je w części %4.")
            .arg(fields, SheetName(Other(sheet)), SheetName(sheet), PartName(Other(sheet)));
    // Measured from the opposite edge, or the sheet turned half round and each line read as
    // the other.
    const double size = Paper[std::size_t(axis)];
    if (clearly(size - r1, size - r2) || clearly(size - r2, size - r1))
        return QStringLiteral("Odczyty z pól %1 nie pasują do arkusza: wychodzi przesunięcie "
                              "%2 mm. Czy arkusz nie był odwrócony albo mierzony od innej "
                              "krawędzi?")
            .arg(fields, Beyond(fit.shiftMicrometres / 1000.0));
    const char *direction = axis == 0 ? "w poziomie" : "w pionie";
    if (std::abs(fit.stretchPpm) > MaxStretchPpm)
        return QStringLiteral("Rozciągnięcie %1 z pól %2 wynosi %3 % — więcej niż 2 %. "
                              "Sprawdź odczyty.")
            .arg(QLatin1String(direction), fields, Beyond(fit.stretchPpm / 10000.0));
    return QStringLiteral("Przesunięcie %1 z pól %2 wynosi %3 mm — więcej niż 5 mm. "
                          "Sprawdź odczyty.")
        .arg(QLatin1String(direction), fields, Beyond(fit.shiftMicrometres / 1000.0));
}

} // namespace

const std::array<double, 4> &MarksOf(TCalibrationSheet sheet) {
    return sheet == TCalibrationSheet::Calibration ? CalibrationMarks : CheckMarks;
}

std::optional<double> ParseReading(const QString &typed) {
    static const QRegularExpression reading(
        QStringLiteral("^\\s*([-+−]?)\\s*(\\d+(?:[.,]\\d*)?|[.,]\\d+)\\s*(?:mm)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = reading.match(typed);
    if (!match.hasMatch())
        return std::nullopt;
    QString number = match.captured(2);
    number.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return match.captured(1).isEmpty() || match.captured(1) == u'+' ? value : -value;
}

TReadingsVerdict JudgeReadings(TCalibrationSheet sheet, const CalibrationReadings &typed,
                               const TCalibrationValues &printedWith) {
    TReadingsVerdict verdict;
    std::array<double, 4> read{};
    for (std::size_t i = 0; i < typed.size(); ++i) {
        verdict.field = int(i);
        if (typed[i].trimmed().isEmpty()) {
            verdict.message =
                QStringLiteral("Wpisz odczyt %1.").arg(QLatin1String(CalibrationMarkNames[i]));
            return verdict;
        }
        const std::optional<double> value = ParseReading(typed[i]);
        if (!value) {
            verdict.message = QStringLiteral("Pole %1: „%2” nie jest liczbą milimetrów.")
                                  .arg(Quoted(int(i)), Echo(typed[i]));
            return verdict;
        }
        read[i] = *value;
    }
    const std::array<double, 4> &marks = MarksOf(sheet);
    std::array<AxisFit, 2> fits;
    for (int axis = 0; axis < 2; ++axis) {
        const std::size_t first = std::size_t(2 * axis);
        verdict.field = int(first);
        verdict.message = AxisFault(sheet, axis, read[first], read[first + 1]);
        if (!verdict.message.isEmpty())
            return verdict;
        fits[std::size_t(axis)] = Fit(read[first], read[first + 1], marks[first], marks[first + 1]);
    }
    verdict.field = -1;
    if (sheet == TCalibrationSheet::Calibration) {
        verdict.values = TCalibrationValues{fits[0].shiftMicrometres, fits[0].stretchPpm,
                                            fits[1].shiftMicrometres, fits[1].stretchPpm};
        return verdict;
    }
    verdict.correct = true;
    for (std::size_t i = 0; i < read.size(); ++i) {
        verdict.remaining[i] = read[i] - marks[i];
        verdict.correct = verdict.correct && std::abs(verdict.remaining[i]) <= CheckToleranceMm;
    }
    // Printed with a + b·p corrected, the sheet shows what is left, a' + b'·p: the printer
    // itself puts p at (a' + b'·a) + (b'·b)·p.
    const auto compose = [](qint32 shift, qint32 stretch, const AxisFit &left) {
        const double b = 1 + stretch / 1e6;
        const double leftB = 1 + left.stretchPpm / 1e6;
        return AxisFit{qint32(std::lround(left.shiftMicrometres + leftB * shift)),
                       qint32(std::lround((leftB * b - 1) * 1e6))};
    };
    const AxisFit across = compose(printedWith.ShiftXMicrometres, printedWith.StretchXPpm, fits[0]);
    const AxisFit down = compose(printedWith.ShiftYMicrometres, printedWith.StretchYPpm, fits[1]);
    if (!across.Plausible() || !down.Plausible()) {
        verdict.message = QStringLiteral("Poprawiona korekcja wyszłaby poza 5 mm albo 2 %. "
                                         "Powtórz kalibrację od arkusza kalibracyjnego.");
        return verdict;
    }
    verdict.values = TCalibrationValues{across.shiftMicrometres, across.stretchPpm,
                                        down.shiftMicrometres, down.stretchPpm};
    return verdict;
}

QString DescribeAxis(bool across, qint32 shiftMicrometres, qint32 stretchPpm) {
    const QString axis = across ? QStringLiteral("Poziomo") : QStringLiteral("Pionowo");
    if (shiftMicrometres == 0 && stretchPpm == 0)
        return axis + QStringLiteral(": drukarka drukuje dokładnie — nie ma czego korygować.");
    QStringList does;
    if (shiftMicrometres != 0)
        does << QStringLiteral("przesuwa wydruk o %1 mm %2")
                    .arg(Decimal(std::abs(shiftMicrometres) / 1000.0, 2),
                         across ? (shiftMicrometres > 0 ? QStringLiteral("w prawo")
                                                        : QStringLiteral("w lewo"))
                                : (shiftMicrometres > 0 ? QStringLiteral("w dół")
                                                        : QStringLiteral("w górę")));
    if (stretchPpm != 0)
        does << QStringLiteral("%1 go o %2 ‰")
                    .arg(stretchPpm > 0 ? QStringLiteral("rozciąga") : QStringLiteral("ściska"),
                         Decimal(std::abs(stretchPpm) / 1000.0, 2));
    return axis + QStringLiteral(": drukarka ") + does.join(QStringLiteral(" i ")) +
           QStringLiteral(" — Merovan to koryguje.");
}

QString DescribeStored(const TStoredCalibration &stored) {
    if (!stored.Stored())
        return QStringLiteral("Kalibracja: brak — drukarka drukuje bez korekcji.");
    const TCalibrationValues &v = stored.values;
    return (stored.date.isValid()
                ? QStringLiteral("Kalibracja zapisana %1:").arg(stored.date.toString("dd.MM.yyyy"))
                : QStringLiteral("Kalibracja zapisana:")) +
           u'\n' + DescribeAxis(true, v.ShiftXMicrometres, v.StretchXPpm) + u'\n' +
           DescribeAxis(false, v.ShiftYMicrometres, v.StretchYPpm);
}

QString CalibrationNote(const QString &printer) {
    if (printer.isEmpty())
        return QString();
    const TStoredCalibration stored = StoredCalibration(printer);
    if (!stored.Stored())
        return QStringLiteral("Drukarka „%1” bez kalibracji (Drukarka → Kalibracja drukarki…)")
            .arg(printer);
    return QStringLiteral("Drukarka „%1” skalibrowana %2")
        .arg(printer, stored.date.isValid() ? stored.date.toString("dd.MM.yyyy") : QString())
        .trimmed();
}

TStoredCalibration StoredCalibration(const QString &printer) {
    return ReadCalibration(StoreTitle, printer);
}

void SaveCalibration(const QString &printer, const TCalibrationValues &values) {
    WriteCalibration(StoreTitle, printer, values, QDate::currentDate());
}

void RemoveCalibration(const QString &printer) {
    DeleteCalibration(StoreTitle, printer);
}

TRpCalibration StoredCorrection(const QString &printer) {
    const TCalibrationValues values = StoredCalibration(printer).values;
    return {{values.ShiftXMicrometres, values.StretchXPpm},
            {values.ShiftYMicrometres, values.StretchYPpm}};
}
