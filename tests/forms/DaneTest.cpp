// The orderer data dialog: its layout, the field behaviours, confirming and cancelling.
#include "DaneFixture.h"
#include "forms/controls/TBitBtn.h"
#include "forms/controls/TEdit.h"
#include "forms/controls/TPanel.h"
#include "forms/uDaneZamawiajacego.h"
#include "platform/Colour.h"
#include "support/Typing.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using testing_support::Type;
using testing_support::WhenDialogShown;

namespace {

template <class T> T *Child(const QWidget &dialog, const QString &name) {
    T *child = dialog.findChild<T *>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

TEST(DaneZamawiajacego, WindowIsFixedWithCloseBoxOnly) {
    TfDaneZamawiajacego dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dane Zamawiającego"));
    EXPECT_EQ(dialog.size(), QSize(529, 295));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(dialog.parent(), nullptr);
    EXPECT_EQ(dialog.font().pixelSize(), 11);
}

struct FieldRow {
    int n;
    QString caption;
    QRect label;
    QRect field;
    int maxLength;
};

TEST(DaneZamawiajacego, LabelsAndFieldsStandWhereTheDesignPutsThem) {
    const FieldRow rows[] = {
        {1, "Zamawiający", {48, 16, 62, 13}, {120, 12, 397, 21}, 255},
        {2, "Kod pocztowy", {43, 42, 67, 13}, {120, 38, 121, 21}, 6},
        {3, "Miejscowość", {49, 68, 61, 13}, {120, 64, 265, 21}, 128},
        {4, "Adres", {83, 94, 27, 13}, {120, 90, 265, 21}, 128},
        {5, "NIP", {92, 120, 18, 13}, {120, 116, 121, 21}, 16},
        {6, "Telefon", {74, 146, 36, 13}, {120, 142, 121, 21}, 32},
        {7, "Mail", {91, 172, 19, 13}, {120, 168, 121, 21}, 32},
        {8, "Oznaczenie SKP", {30, 198, 80, 13}, {120, 194, 121, 21}, 12},
        {9, "Inne", {89, 224, 21, 13}, {120, 220, 397, 21}, 255},
    };
    TfDaneZamawiajacego dialog;
    for (const FieldRow &row : rows) {
        const auto *label = Child<QLabel>(dialog, QStringLiteral("Label%1").arg(row.n));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), row.caption);
        // Right edges line up 10 pixels left of the fields; a wider font grows a label leftwards.
        EXPECT_EQ(label->geometry().right(), row.label.right()) << row.n;
        EXPECT_EQ(label->geometry().right() + 1 + 10, 120) << row.n;
        EXPECT_EQ(label->y(), row.label.y()) << row.n;
        EXPECT_EQ(label->height(), row.label.height()) << row.n;
        EXPECT_GE(label->width(), std::max(row.label.width(), label->sizeHint().width()));
        EXPECT_TRUE(label->alignment() & Qt::AlignRight);
        const TEdit *edit = dialog.Edit(row.n);
        EXPECT_EQ(edit->objectName(), QStringLiteral("Edit%1").arg(row.n));
        EXPECT_EQ(edit->geometry(), row.field) << row.n;
        EXPECT_EQ(edit->MaxLength(), row.maxLength) << row.n;
        EXPECT_FALSE(edit->UpperCase());
        EXPECT_EQ(edit->text(), edit->objectName()); // until CLEARDATA
    }
}

TEST(DaneZamawiajacego, PanelHoldsCancelAndConfirmButtons) {
    TfDaneZamawiajacego dialog;
    const auto *panel = Child<TPanel>(dialog, QStringLiteral("Panel1"));
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->geometry(), QRect(0, 254, 529, 41));
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
    const auto *cancel = Child<TBitBtn>(dialog, QStringLiteral("BitBtn1"));
    const auto *confirm = Child<TBitBtn>(dialog, QStringLiteral("BitBtn2"));
    ASSERT_TRUE(cancel && confirm);
    EXPECT_EQ(cancel->parent(), panel);
    EXPECT_EQ(confirm->parent(), panel);
    EXPECT_EQ(cancel->geometry(), QRect(0, 1, 121, 41));
    EXPECT_EQ(confirm->geometry(), QRect(408, 1, 121, 41));
    EXPECT_EQ(cancel->text(), QStringLiteral("Anuluj <Esc>"));
    EXPECT_EQ(confirm->text(), QStringLiteral("Zatwierdź"));
    EXPECT_TRUE(cancel->Cancel());
    EXPECT_FALSE(confirm->Cancel());
    for (const TBitBtn *button : {cancel, confirm}) {
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->iconSize(), QSize(18, 18));
        EXPECT_EQ(button->Spacing(), 8);
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
}

TEST(DaneZamawiajacego, TabOrderIsTheFieldsThenTheButtons) {
    TfDaneZamawiajacego dialog;
    QStringList order;
    QWidget *widget = dialog.Edit(1);
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != dialog.Edit(1));
    EXPECT_EQ(order, QStringList({"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7",
                                  "Edit8", "Edit9", "BitBtn1", "BitBtn2"}));
}

TEST(DaneZamawiajacego, ClearDataEmptiesEveryField) {
    TfDaneZamawiajacego dialog;
    dialog.Edit(3)->setText(QString(300, u'x'));
    dialog.CLEARDATA();
    for (int i = 1; i <= TfDaneZamawiajacego::FieldCount; ++i)
        EXPECT_TRUE(dialog.Edit(i)->text().isEmpty()) << i;
}

// Exactly the focused field shows the focus colour.
void ExpectOnlyColoured(const TfDaneZamawiajacego &dialog, const QWidget *focused) {
    for (int i = 1; i <= TfDaneZamawiajacego::FieldCount; ++i)
        EXPECT_EQ(dialog.Edit(i)->palette().color(QPalette::Base),
                  platform::ToQColor(dialog.Edit(i) == focused ? platform::FocusColour
                                                               : platform::clWindow))
            << i;
}

TEST(DaneZamawiajacego, EnterWalksTheFieldsToZatwierdzAndASecondEnterConfirms) {
    TfDaneZamawiajacego dialog;
    WhenDialogShown([](TfDaneZamawiajacego &shown) {
        for (int i = 1; i <= TfDaneZamawiajacego::FieldCount; ++i) {
            ASSERT_EQ(QApplication::focusWidget(), shown.Edit(i)) << i;
            ExpectOnlyColoured(shown, shown.Edit(i));
            QTest::keyClick(shown.Edit(i), Qt::Key_Return);
        }
        QWidget *confirm = QApplication::focusWidget();
        ASSERT_EQ(confirm->objectName(), QStringLiteral("BitBtn2"));
        ExpectOnlyColoured(shown, nullptr);
        EXPECT_TRUE(shown.isVisible()); // moving there pressed nothing
        QTest::keyClick(confirm, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), TfDaneZamawiajacego::mrOk);
}

struct CancelCase {
    const char *name;
    std::function<void(TfDaneZamawiajacego &)> cancel;
};

class DaneCancel : public testing::TestWithParam<CancelCase> {};

TEST_P(DaneCancel, ReturnsTheCancelResult) {
    TfDaneZamawiajacego dialog;
    WhenDialogShown(GetParam().cancel);
    EXPECT_EQ(dialog.exec(), TfDaneZamawiajacego::mrCancel);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DaneCancel,
    testing::Values(CancelCase{"EscInAField",
                               [](TfDaneZamawiajacego &d) {
                                   d.Edit(5)->setFocus();
                                   QTest::keyClick(d.Edit(5), Qt::Key_Escape);
                               }},
                    CancelCase{"EscOnZatwierdz",
                               [](TfDaneZamawiajacego &d) {
                                   auto *confirm =
                                       d.findChild<QWidget *>(QStringLiteral("BitBtn2"));
                                   confirm->setFocus();
                                   QTest::keyClick(confirm, Qt::Key_Escape);
                               }},
                    CancelCase{"CloseBox", [](TfDaneZamawiajacego &d) { d.close(); }},
                    CancelCase{"AnulujClicked",
                               [](TfDaneZamawiajacego &d) {
                                   QTest::mouseClick(
                                       d.findChild<QWidget *>(QStringLiteral("BitBtn1")),
                                       Qt::LeftButton);
                               }},
                    CancelCase{"AnulujByEnter",
                               [](TfDaneZamawiajacego &d) {
                                   auto *cancel = d.findChild<QWidget *>(QStringLiteral("BitBtn1"));
                                   cancel->setFocus();
                                   QTest::keyClick(cancel, Qt::Key_Return);
                               }},
                    CancelCase{"ShiftEnterOnZatwierdzThenEsc",
                               [](TfDaneZamawiajacego &d) {
                                   auto *confirm =
                                       d.findChild<QWidget *>(QStringLiteral("BitBtn2"));
                                   confirm->setFocus();
                                   QTest::keyClick(confirm, Qt::Key_Return, Qt::ShiftModifier);
                                   QTest::keyClick(confirm, Qt::Key_Return, Qt::ControlModifier);
                                   EXPECT_TRUE(d.isVisible());
                                   QTest::keyClick(confirm, Qt::Key_Escape);
                               }}),
    [](const testing::TestParamInfo<CancelCase> &info) { return info.param.name; });

TEST(DaneZamawiajacego, TypingStopsAtEachFieldsMaximumLength) {
    TfDaneZamawiajacego dialog;
    dialog.CLEARDATA();
    dialog.show();
    Type(dialog.Edit(2), QStringLiteral("00-9501"));
    Type(dialog.Edit(8), QStringLiteral("SKP-123/4567"));
    Type(dialog.Edit(8), QStringLiteral("8"));
    Type(dialog.Edit(3), QStringLiteral("Łódź"));
    EXPECT_EQ(dialog.Edit(2)->text(), QStringLiteral("00-950"));
    EXPECT_EQ(dialog.Edit(8)->text(), QStringLiteral("SKP-123/4567"));
    EXPECT_EQ(dialog.Edit(3)->text(), QStringLiteral("Łódź")); // no upper-case conversion here
}

TEST(DaneZamawiajacego, TabAndMouseColourExactlyTheFocusedField) {
    TfDaneZamawiajacego dialog;
    WhenDialogShown([](TfDaneZamawiajacego &shown) {
        ExpectOnlyColoured(shown, shown.Edit(1));
        QTest::keyClick(shown.Edit(1), Qt::Key_Tab);
        ExpectOnlyColoured(shown, shown.Edit(2));
        QTest::mouseClick(shown.Edit(7), Qt::LeftButton);
        ExpectOnlyColoured(shown, shown.Edit(7));
        QTest::keyClick(shown.Edit(7), Qt::Key_Tab, Qt::ShiftModifier);
        ExpectOnlyColoured(shown, shown.Edit(6));
        shown.reject();
    });
    dialog.exec();
}

} // namespace
