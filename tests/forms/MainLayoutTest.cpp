// The main window's fixed layout: size, border, panels, every control's place and text,
// the tab order and both sheet layouts of the position picker.
#include "forms/MainFixture.h"

#include "forms/controls/TRadioGroup.h"
#include "forms/controls/TShape.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

using testing_support::MainFixture;

class MainLayout : public MainFixture {};

TEST_F(MainLayout, WindowIsFixedAtItsClientSizeWithOnlyTheCloseBox) {
    TfMain &main = ShowMain();
    EXPECT_EQ(main.objectName(), "fMain");
    EXPECT_EQ(main.windowTitle(), "Druk Tabliczki");
    // The client area keeps its size below the menu bar; the window grows by the bar.
    const int bar = Child<QWidget>("MenuBar")->height();
    EXPECT_GT(bar, 10);
    EXPECT_EQ(main.ClientArea()->geometry(), QRect(0, bar, 561, 446));
    EXPECT_EQ(main.size(), QSize(561, 446 + bar));
    EXPECT_EQ(main.minimumSize(), main.size());
    EXPECT_EQ(main.maximumSize(), main.size());
    const Qt::WindowFlags flags = main.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(main.font().family(), "MS Sans Serif");
    EXPECT_EQ(main.font().pixelSize(), 11);
    EXPECT_EQ(QFontInfo(main.font()).family(), "Liberation Sans");
}

struct Placement {
    const char *name;
    const char *parent;
    QRect bounds;
    QString text;
};

// Every control at its place within its parent, with its text.
TEST_F(MainLayout, EveryControlSitsAtItsPlaceWithItsText) {
    const QString label1 =
        "Proszę wybrać etykietę do zadrukowania oraz drukarkę i nacisnąć odpowiedni klawisz "
        "(\"Podgląd\" lub \"Druk\").  UWAGA !  Ze względu na dużą sztywność folii aluminiowej "
        "- ustawić drukarkę w tryb druku \"bez zawijania\" arkusza.";
    const QString label3 = "Drukowanie tabliczek jest możliwe tylko i wyłącznie na drukarkach "
                           "laserowych lub termotransferowych z użyciem atestowanych materiałów.";
    const Placement table[] = {
        {"Panel1", "Client", {0, 0, 561, 51}, {}},
        {"Panel3", "Client", {0, 51, 561, 354}, {}},
        {"Panel2", "Client", {0, 405, 561, 41}, {}},
        {"Label1", "Panel1", {16, 6, 525, 39}, label1},
        {"Shape11", "Panel3", {16, 9, 209, 321}, {}},
        {"Label5", "Panel3", {244, 16, 141, 13}, "Marka ...................................."},
        {"Label6", "Panel3", {244, 40, 134, 13}, "Model .................................."},
        {"Label7", "Panel3", {244, 64, 139, 13}, "Numer nadwozia ..................."},
        {"Label2", "Panel3", {244, 88, 143, 13}, "Wyróżnik SKP ........................"},
        {"Edit1", "Panel3", {344, 12, 197, 21}, {}},
        {"Edit2", "Panel3", {344, 36, 197, 21}, {}},
        {"Edit3", "Panel3", {344, 60, 197, 21}, {}},
        {"Edit4", "Panel3", {344, 84, 197, 21}, {}},
        {"RadioGroup1", "Panel3", {248, 144, 97, 103}, {}},
        {"Label3", "Panel3", {377, 146, 164, 65}, label3},
        {"Label4", "Panel3", {248, 262, 80, 13}, "Wybór drukarki :"}, // grown from 78
        {"cbDrukarka", "Panel3", {248, 282, 297, 24}, {}},
        {"CheckBox1",
         "Panel3",
         {248, 314, 293, 17},
         "zawsze używaj tej drukarki do druku tabliczek"},
        {"BitBtn1", "Panel2", {0, 1, 131, 41}, "&Podgląd"},
        {"BitBtn2", "Panel2", {130, 1, 131, 41}, "&Drukowanie"},
        {"BitBtn4", "Panel2", {260, 1, 171, 41}, "&Zamówienie folii"},
        {"BitBtn3", "Panel2", {430, 1, 131, 41}, "Koniec <Esc>"},
    };
    ShowMain();
    for (const Placement &p : table) {
        SCOPED_TRACE(p.name);
        auto *widget = Child<QWidget>(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), p.parent);
        EXPECT_EQ(widget->geometry(), p.bounds);
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            EXPECT_EQ(label->text(), p.text);
        }
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            EXPECT_EQ(button->text(), p.text);
        }
    }
}

TEST_F(MainLayout, PrinterCaptionShowsItsWholeText) {
    ShowMain();
    const auto *label = Child<QLabel>("Label4");
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
}

TEST_F(MainLayout, LabelsWrapAndThePrinterNoteIsRightAligned) {
    ShowMain();
    EXPECT_TRUE(Child<QLabel>("Label1")->wordWrap());
    EXPECT_TRUE(Child<QLabel>("Label3")->wordWrap());
    EXPECT_TRUE(Child<QLabel>("Label3")->alignment() & Qt::AlignRight);
    EXPECT_EQ(Child<QLabel>("Label1")->textFormat(), Qt::PlainText);
}

TEST_F(MainLayout, SheetChoiceHasItsCaptionItemsAndTooltip) {
    ShowMain();
    auto *group = Child<TRadioGroup>("RadioGroup1");
    EXPECT_EQ(group->title(), " Wybór arkusza ");
    EXPECT_EQ(group->toolTip(), "Wybierz wg posiadanych arkuszy");
    const auto items = group->findChildren<QRadioButton *>();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "8 szt.");
    EXPECT_EQ(items[1]->text(), "10 szt.");
    for (QRadioButton *item : items)
        EXPECT_TRUE(group->rect().contains(item->geometry())) << item->text().toStdString();
}

TEST_F(MainLayout, PrinterListIsChooseOnlyWithSixteenRowsOfSixteenPixels) {
    ShowMain();
    auto *list = Child<QComboBox>("cbDrukarka");
    EXPECT_FALSE(list->isEditable());
    EXPECT_EQ(list->maxVisibleItems(), 16);
    EXPECT_EQ(list->font().pixelSize(), 13);
    EXPECT_EQ(list->itemDelegate()->sizeHint({}, list->model()->index(0, 0)).height(), 16);
}

// What drops down, not only what the list is told: with more printers than rows, exactly 16
// rows of 16 pixels show and the rest scroll.
TEST_F(MainLayout, PrinterPopupShowsSixteenRowsOfSixteenPixels) {
    SetPrinterCount(20);
    ShowMain();
    auto *list = Child<QComboBox>("cbDrukarka");
    list->showPopup();
    QAbstractItemView *view = list->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    int shown = 0;
    for (int row = 0; row < list->count(); ++row) {
        const QRect bounds = view->visualRect(list->model()->index(row, 0));
        EXPECT_EQ(bounds.height(), 16) << row;
        shown += view->viewport()->rect().contains(bounds) ? 1 : 0;
    }
    EXPECT_EQ(shown, 16);
    EXPECT_EQ(view->viewport()->height(), 16 * 16);
    list->hidePopup();
}

TEST_F(MainLayout, FieldsLimitAndRaiseWhatIsTyped) {
    ShowMain();
    const int limits[] = {32, 32, 20, 9};
    for (int n = 1; n <= 4; ++n) {
        TEdit *edit = window->Edit(n);
        EXPECT_EQ(edit->MaxLength(), limits[n - 1]) << n;
        EXPECT_TRUE(edit->UpperCase()) << n;
    }
    window->Edit(4)->setFocus();
    TypeText(window->Edit(4), "żółw skp 1x");
    EXPECT_EQ(window->EditText(4), "ŻÓŁW SKP ");
    window->Edit(3)->setFocus();
    QTest::keyClicks(window->Edit(3), QString(25, u'a'));
    EXPECT_EQ(window->EditText(3), QString(20, u'A'));
}

TEST_F(MainLayout, WindowOpensOnTheFirstButtonAndTabWalksButtonsSheetPrinterAndFields) {
    ShowMain();
    const char *order[] = {"BitBtn1", "BitBtn2",    "BitBtn4",   "BitBtn3", "RadioGroup1",
                           "Shape11", "cbDrukarka", "CheckBox1", "Edit1",   "Edit2",
                           "Edit3",   "Edit4",      "BitBtn1"};
    for (const char *name : order) {
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr) << name;
        // A radio item stands for its group.
        const QWidget *control =
            qobject_cast<QRadioButton *>(focused) ? focused->parentWidget() : focused;
        EXPECT_EQ(control->objectName().toStdString(), name);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
}

// Left edges per column; tops per sheet layout (rows 1..5 of each column).
TEST_F(MainLayout, BothSheetLayoutsPlaceTheMarkers) {
    struct Layout {
        int itemIndex;
        std::array<int, 5> tops; // -1: hidden, top kept
    };
    const Layout layouts[] = {
        {1, {12, 74, 136, 198, 260}},
        {0, {32, 102, 172, 242, -1}},
        {-1, {12, 74, 136, 198, 260}},
        {0, {32, 102, 172, 242, -1}},
    };
    ShowMain();
    auto *group = Child<TRadioGroup>("RadioGroup1");
    for (const Layout &layout : layouts) {
        group->SetItemIndex(layout.itemIndex);
        window->RadioGroup1Click();
        for (int n = 1; n <= 10; ++n) {
            SCOPED_TRACE(testing::Message() << "item " << layout.itemIndex << " Shape" << n);
            TShape *marker = window->Shape(n);
            const int row = (n - 1) % 5;
            EXPECT_EQ(marker->x(), n <= 5 ? 26 : 122);
            EXPECT_EQ(marker->size(), QSize(93, 59));
            EXPECT_EQ(marker->isVisible(), layout.tops[row] >= 0);
            if (layout.tops[row] >= 0)
                EXPECT_EQ(marker->y(), layout.tops[row]);
            else // kept from the ten-position layout shown before
                EXPECT_EQ(marker->y(), 260);
        }
    }
}

TEST_F(MainLayout, SheetLiesBeneathTheMarkers) {
    ShowMain();
    auto *sheet = Child<TShape>("Shape11");
    EXPECT_EQ(sheet->BrushColor(), platform::clGray);
    const QObjectList &siblings = sheet->parentWidget()->children();
    for (int n = 1; n <= 10; ++n)
        EXPECT_LT(siblings.indexOf(sheet), siblings.indexOf(window->Shape(n))) << n;
}

} // namespace
