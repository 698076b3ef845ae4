// What a screen reader sees of the built program: the main window's accessible tree read
// from outside over AT-SPI, on a private D-Bus session.
#include "RealProgramFixture.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

namespace {

using RealAccessibility = RealProgramFixture;

struct Accessible {
    QString role, name, description, labelledBy;
    bool operator==(const Accessible &) const = default;
};

TEST_F(RealAccessibility, EveryControlHasItsPolishNameAndRole) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() ||
        !QFile::exists(QStringLiteral("/usr/lib/python3/dist-packages/pyatspi")))
        GTEST_SKIP() << "dbus-daemon or python3-pyatspi is not installed";
    ASSERT_TRUE(desktop.StartAccessibility());
    Seed("Arkusz", "Wykorzystane8", TSettingsValue::Integer(0b100));
    ASSERT_TRUE(desktop.StartProgram());
    QList<Accessible> tree;
    QDeadlineTimer deadline(30000);
    while (tree.isEmpty() && !deadline.hasExpired()) {
        const QString script = QStringLiteral(QT_TESTCASE_SOURCEDIR "/app/accessible_tree.py");
        for (const QString &line :
             desktop.Run(QStringLiteral("/usr/bin/python3"), {script, QStringLiteral("merovan")})
                 .split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(u'\t');
            tree.append({fields.value(0), fields.value(1), fields.value(2), fields.value(3)});
        }
        if (tree.isEmpty())
            QThread::msleep(200);
    }
    ASSERT_FALSE(tree.isEmpty()) << "the program never showed on the accessibility bus";
    const auto has = [&](const QString &role, const QString &name) {
        return std::any_of(tree.begin(), tree.end(),
                           [&](const Accessible &a) { return a.role == role && a.name == name; });
    };
    const std::vector<std::pair<const char *, QString>> expected{
        {"text", "Marka"},
        {"text", "Model"},
        {"text", "Numer nadwozia"},
        {"text", "Wyróżnik SKP"},
        {"panel", "Wybór arkusza"},
        {"radio button", "8 szt."},
        {"radio button", "10 szt."},
        {"filler", "Arkusz — wybór pozycji"},
        {"radio button", "Pozycja 1 — wolna"},
        {"radio button", "Pozycja 2 — wolna"},
        {"radio button", "Pozycja 3 — wykorzystana"},
        {"radio button", "Pozycja 8 — wolna"},
        {"check box", "zawsze używaj tej drukarki do druku tabliczek"},
        {"push button", "Podgląd"},
        {"push button", "Drukowanie"},
        {"push button", "Zamówienie folii"},
        {"push button", "Koniec"},
        {"menu item", "Arkusz"},
        {"menu item", "Drukarka"},
        {"menu item", "Rejestr"},
        {"menu item", "Pomoc"},
        {"menu item", "Kalibracja drukarki…"},
    };
    for (const auto &[role, name] : expected)
        EXPECT_TRUE(has(QLatin1String(role), name)) << role << " \"" << name.toStdString() << '"';
    // Each field is labelled by its label, the printer list by its own.
    for (const Accessible &a : tree) {
        if (a.role == QLatin1String("text")) {
            EXPECT_TRUE(a.labelledBy.startsWith(a.name + u' ')) << a.name.toStdString();
        }
        if (a.role == QLatin1String("combo box")) {
            EXPECT_EQ(a.labelledBy, QStringLiteral("Wybór drukarki :"));
        }
    }
}

} // namespace
