// The main window's first show (restoring the operator's last state, the font check) and
// its close (saving that state; a refused save keeps the window open).
#include "forms/MainFixture.h"

#include "forms/OrderStoreDouble.h"

#include "forms/controls/TRadioGroup.h"
#include "forms/controls/TShape.h"
#include "platform/Application.h"
#include "platform/Registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTest>

#include <optional>

namespace {

using platform::MessageKind;
using testing_support::MainFixture;

class MainStart : public MainFixture {};
class MainClose : public MainFixture {};

TEST_F(MainStart, FirstRunShowsTheEightPositionSheetTheFirstPrinterAndEmptyFields) {
    TfMain &main = ShowMain();
    EXPECT_EQ(platform::ApplicationTitle(), "Merovan");
    EXPECT_FALSE(main.CheckBox1Checked());
    EXPECT_EQ(main.RadioGroup1ItemIndex(), 0);
    auto *list = Child<QComboBox>("cbDrukarka");
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(main.cbDrukarkaItemIndex(), 0);
    EXPECT_EQ(list->currentText(), "P1");
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(main.EditText(n), "") << n;
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(main.ShapeColor(n), platform::clWhite) << n;
        EXPECT_EQ(main.Shape(n)->isVisible(), n != 5 && n != 10) << n;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainStart, StoredSheetLayoutIsClampedAndSavedAsShown) {
    struct Case {
        int stored;
        int shown;
        int visibleMarkers;
    };
    const Case cases[] = {{5, 1, 10}, {-3, -1, 10}, {1, 1, 10}, {0, 0, 8}, {-1, -1, 10}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        Store("Setup", "RadioGroup1", TSettingsValue::Integer(c.stored));
        TfMain &main = ShowMain();
        EXPECT_EQ(main.RadioGroup1ItemIndex(), c.shown);
        int visible = 0;
        for (int n = 1; n <= 10; ++n)
            visible += main.Shape(n)->isVisible();
        EXPECT_EQ(visible, c.visibleMarkers);
        ASSERT_TRUE(main.close());
        EXPECT_EQ(Stored("Setup", "RadioGroup1", TSettingsTag::Integer),
                  TSettingsValue::Integer(c.shown));
    }
}

TEST_F(MainStart, PrinterChoiceIsRestoredOnlyWhenTheOperatorKeepsIt) {
    struct Case {
        std::optional<bool> keep; // stored CheckBox1
        std::optional<int> index; // stored cbDrukarka
        int printers;
        int shown;
        const char *display;
        const char *name = nullptr; // stored cbDrukarkaNazwa
    };
    const Case cases[] = {
        // The name finds the printer wherever queues added or removed have moved it; a name
        // no longer listed leaves the index rule.
        {true, 0, 3, 1, "P2", "P2"},  {true, 1, 3, 1, "P2", "P9"},
        {false, 2, 3, 0, "P1", "P3"}, {false, 2, 3, 0, "P1"},
        {true, 7, 3, -1, ""},         {true, 2, 3, 2, "P3"},
        {true, -1, 3, -1, ""},        {true, std::nullopt, 3, 0, "P1"},
        {true, 0, 0, -1, ""},         {std::nullopt, std::nullopt, 0, -1, ""},
        {true, 3, 3, -1, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "keep " << c.keep.value_or(false) << " index "
                                        << c.index.value_or(99) << " printers " << c.printers);
        RepairStore();
        if (c.keep)
            Store("Setup", "CheckBox1", TSettingsValue::Boolean(*c.keep));
        if (c.index)
            Store("Setup", "cbDrukarka", TSettingsValue::Integer(*c.index));
        if (c.name)
            Store("Setup", "cbDrukarkaNazwa", TSettingsValue::Text(c.name));
        SetPrinterCount(c.printers);
        TfMain &main = ShowMain();
        EXPECT_EQ(main.CheckBox1Checked(), c.keep.value_or(false));
        EXPECT_EQ(main.cbDrukarkaItemIndex(), c.shown);
        EXPECT_EQ(Child<QComboBox>("cbDrukarka")->currentText(), c.display);
        ASSERT_TRUE(main.close());
        // The list's index is written whether or not it will be read back.
        EXPECT_EQ(Stored("Setup", "cbDrukarka", TSettingsTag::Integer),
                  TSettingsValue::Integer(c.shown));
        EXPECT_EQ(Stored("Setup", "cbDrukarkaNazwa", TSettingsTag::String),
                  TSettingsValue::Text(c.display));
        EXPECT_EQ(Stored("Setup", "CheckBox1", TSettingsTag::Boolean),
                  TSettingsValue::Boolean(c.keep.value_or(false)));
    }
}

TEST_F(MainStart, StoredFieldsAreShownWholeAsStored) {
    const QString texts[] = {"škoda octavia combi rs 2.0 tdi 4x4 dsg", "Fabia", QString(25, u'7'),
                             "KR/0123456"};
    for (int n = 1; n <= 4; ++n)
        Store("Dane", QStringLiteral("Edit%1").arg(n), TSettingsValue::Text(texts[n - 1]));
    TfMain &main = ShowMain();
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(main.EditText(n), texts[n - 1]) << n;
    ASSERT_TRUE(main.close());
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(Stored("Dane", QStringLiteral("Edit%1").arg(n), TSettingsTag::String),
                  TSettingsValue::Text(texts[n - 1]))
            << n;
}

TEST_F(MainStart, FontIsRegisteredOnlyWhenTheFontsFolderLacksIt) {
    struct Case {
        bool present;
        bool accepted;
        QStringList calls;
    };
    const QString test = "exists /home/operator/.local/share/fonts/dravik_.ttf";
    const Case cases[] = {
        {true, true, {test}},
        {false, true, {test, "add Dravik_.ttf", "broadcast"}},
        {false, false, {test, "add Dravik_.ttf", "broadcast"}},
    };
    for (const Case &c : cases) {
        fonts.calls.clear();
        fonts.existing.clear();
        if (c.present)
            fonts.existing.insert("/home/operator/.local/share/fonts/dravik_.ttf");
        fonts.accepts = c.accepted;
        ShowMain();
        EXPECT_EQ(fonts.calls, c.calls);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(MainClose, SavesOptionsAndFieldsAndEndsTheWindow) {
    TfMain &main = ShowMain();
    main.SetCheckBox1Checked(true);
    QTest::mouseClick(Child<TRadioGroup>("RadioGroup1")->findChildren<QWidget *>().at(1),
                      Qt::LeftButton);
    Child<QComboBox>("cbDrukarka")->setCurrentIndex(2);
    const QString typed[] = {"ford", "focus", "wf0axxgcda1234567", "kr/001"};
    for (int n = 1; n <= 4; ++n)
        QTest::keyClicks(main.Edit(n), typed[n - 1]);
    QTest::mouseClick(Child<QWidget>("BitBtn3"), Qt::LeftButton);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(Stored("Setup", "CheckBox1", TSettingsTag::Boolean), TSettingsValue::Boolean(true));
    EXPECT_EQ(Stored("Setup", "RadioGroup1", TSettingsTag::Integer), TSettingsValue::Integer(1));
    EXPECT_EQ(Stored("Setup", "cbDrukarka", TSettingsTag::Integer), TSettingsValue::Integer(2));
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(Stored("Dane", QStringLiteral("Edit%1").arg(n), TSettingsTag::String),
                  TSettingsValue::Text(typed[n - 1].toUpper()))
            << n;
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainClose, RefusedSaveShowsTheStoreErrorAndKeepsTheWindowOpen) {
    BreakStore();
    TfMain &main = ShowMain();
    QTest::keyClicks(main.Edit(1), "opel");
    QTest::keyClick(main.Edit(1), Qt::Key_Escape);
    EXPECT_TRUE(main.isVisible());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.shown[0].caption, "Merovan");
    EXPECT_EQ(messages.shown[0].text, "Failed to set data for 'CheckBox1'");
    EXPECT_EQ(main.EditText(1), "OPEL");
    QFile store(platform::RegistryStorePath());
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    EXPECT_EQ(store.readAll(), "this is the operator's file, not a database\n");
    store.close();

    // Once the store takes writes again, the next close succeeds and keeps everything.
    RepairStore();
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(Stored("Dane", "Edit1", TSettingsTag::String), TSettingsValue::Text("OPEL"));
    EXPECT_EQ(messages.shown.size(), 1u);
}

// A store that keeps refusing never traps the operator: from the second close on the window
// asks whether to end without saving, and "Nie" keeps it open.
TEST_F(MainClose, SecondRefusedCloseAsksToEndWithoutSaving) {
    BreakStore();
    TfMain &main = ShowMain();
    messages.answers = {false, true};
    EXPECT_FALSE(main.close());
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.close());
    QStringList shown;
    for (const auto &message : messages.shown)
        shown << message.text;
    const QString refused = QStringLiteral("Failed to set data for 'CheckBox1'");
    const QString question = QStringLiteral("Zakończyć bez zapisania ustawień?");
    EXPECT_EQ(shown, QStringList({refused, refused, question, refused, question}));
    EXPECT_EQ(messages.shown.back().kind, MessageKind::Question);
    EXPECT_FALSE(main.isVisible());
}

TEST_F(MainClose, ReadsInTheirOrderAndWritesEverythingInOneWrite) {
    struct Case {
        bool keep;
        int refuseFrom;
        QStringList reads;
        QStringList writes;
        const char *error;
    };
    const QStringList all = {"write CheckBox1",       "write RadioGroup1", "write cbDrukarka",
                             "write cbDrukarkaNazwa", "write Edit1",       "write Edit2",
                             "write Edit3",           "write Edit4"};
    const Case cases[] = {
        {false,
         0,
         {"read CheckBox1", "read RadioGroup1", "read Edit1", "read Edit2", "read Edit3",
          "read Edit4", "read Wykorzystane8", "read Wykorzystane10"},
         all,
         nullptr},
        {true,
         0,
         {"read CheckBox1", "read RadioGroup1", "read cbDrukarkaNazwa", "read cbDrukarka",
          "read Edit1", "read Edit2", "read Edit3", "read Edit4", "read Wykorzystane8",
          "read Wykorzystane10"},
         all,
         nullptr},
        // The one write is refused whole: the error names its first value.
        {false, 1, {}, all, "Failed to set data for 'CheckBox1'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.refuseFrom);
        messages.shown.clear();
        testing_support::MemoryRegistry registry;
        if (c.keep)
            Store("Setup", "CheckBox1", TSettingsValue::Boolean(true));
        registry.accesses.clear();
        registry.writes = 0;
        TfMain &main = ShowMain();
        if (!c.reads.isEmpty()) {
            EXPECT_EQ(registry.accesses, c.reads);
        }
        registry.accesses.clear();
        registry.refuseFromWrite = c.refuseFrom;
        EXPECT_EQ(main.close(), c.error == nullptr);
        EXPECT_EQ(registry.accesses, c.writes);
        EXPECT_EQ(main.isVisible(), c.error != nullptr);
        if (c.error) {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, c.error);
        } else {
            EXPECT_TRUE(messages.shown.empty());
        }
        window.reset();
    }
}

} // namespace
