#include "RegisterCsv.h"

namespace {

constexpr int Page = 1000;

QString Field(const QString &text) {
    QString field = text;
    if (!field.isEmpty() && QStringLiteral("=+-@").contains(field.front()))
        field.prepend(u'\'');
    if (field.contains(u';') || field.contains(u'"') || field.contains(u'\n') ||
        field.contains(u'\r'))
        field = u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return field;
}

QString Signed(qint32 value) {
    return (value < 0 ? QStringLiteral("−") : QStringLiteral("+")) + QString::number(qAbs(value));
}

} // namespace

QByteArray CsvRow(const QStringList &fields) {
    QStringList written;
    for (const QString &field : fields)
        written << Field(field);
    return written.join(u';').toUtf8();
}

QString SheetPositionText(const TRegisterEntry &entry) {
    return QStringLiteral("%1/%2").arg(entry.SheetPositions).arg(entry.Position);
}

QString CalibrationText(const TRegisterEntry &entry) {
    if (!entry.Calibration)
        return QStringLiteral("brak");
    const auto &c = *entry.Calibration;
    return QStringLiteral("poziomo %1 µm %2 ppm, pionowo %3 µm %4 ppm")
        .arg(Signed(c[0]), Signed(c[1]), Signed(c[2]), Signed(c[3]));
}

bool WriteRegisterCsv(TRegisterReader &reader, const TRegisterFilter &filter, QIODevice &out,
                      int *written) {
    int rows = 0;
    const auto line = [&out](const QStringList &fields) {
        return out.write(CsvRow(fields) + "\r\n") >= 0;
    };
    bool ok = out.write("\xEF\xBB\xBF") == 3 &&
              line({QStringLiteral("Data"), QStringLiteral("Marka"), QStringLiteral("Model"),
                    QStringLiteral("Numer nadwozia"), QStringLiteral("Wyróżnik SKP"),
                    QStringLiteral("Arkusz/pozycja"), QStringLiteral("Drukarka"),
                    QStringLiteral("Użytkownik"), QStringLiteral("Korekcja drukarki"),
                    QStringLiteral("Zadanie")});
    for (int offset = 0; ok; offset += Page) {
        const std::vector<TRegisterEntry> page = reader.Rows(filter, offset, Page);
        for (const TRegisterEntry &entry : page) {
            ok = ok && line({entry.PrintedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t")),
                             entry.Texts[0], entry.Texts[1], entry.Texts[2], entry.Texts[3],
                             SheetPositionText(entry), entry.Printer, entry.User,
                             CalibrationText(entry), QString::number(entry.Job)});
            ++rows;
        }
        if (int(page.size()) < Page)
            break;
    }
    if (written)
        *written = rows;
    return ok;
}
