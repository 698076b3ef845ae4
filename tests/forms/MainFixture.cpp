#include "forms/MainFixture.h"

#include "platform/Application.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace testing_support {

namespace {
const QString Title = QStringLiteral("Merovan");
}

MainFixture::MainFixture()
    : previousConfig_(qgetenv("XDG_CONFIG_HOME")), previousData_(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
    // The title is the window's to set at its first show.
    platform::SetApplicationTitle(QString());
    SetPrinterCount(3);
}

MainFixture::~MainFixture() {
    window.reset();
    qputenv("XDG_CONFIG_HOME", previousConfig_);
    qputenv("XDG_DATA_HOME", previousData_);
}

void MainFixture::SetPrinterCount(int count) {
    std::vector<FakePrinter> list;
    for (int i = 1; i <= count; ++i)
        list.push_back(FakePrinter{QStringLiteral("P%1").arg(i)});
    printers.reset();
    printers.emplace(std::move(list));
}

TfMain &MainFixture::ShowMain() {
    window = std::make_unique<TfMain>();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return *window;
}

void MainFixture::TypeText(QWidget *field, const QString &text) {
    for (QChar character : text) {
        QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(character), {});
        QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, QString(character), {});
    }
}

void MainFixture::Store(const QString &section, const QString &name, const TSettingsValue &value) {
    WriteToHKCUkey(Title, section, name, value);
}

TSettingsValue MainFixture::Stored(const QString &section, const QString &name, TSettingsTag type) {
    return ReadFromHKCUkey(Title, section, name, int(type), TSettingsValue());
}

void MainFixture::BreakStore() {
    const QString path = platform::RegistryStorePath();
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is the operator's file, not a database\n");
}

void MainFixture::RepairStore() {
    QFile::remove(platform::RegistryStorePath());
}

} // namespace testing_support
