// The text field: limits and conversions act on what the operator puts in, never on what
// the program puts in.
#include "forms/controls/TEdit.h"
#include "support/Typing.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string_view>

namespace {

using testing_support::Type;

std::unique_ptr<TEdit> ShownEdit(int maxLength, bool upperCase) {
    auto edit = std::make_unique<TEdit>();
    edit->SetMaxLength(maxLength);
    edit->SetUpperCase(upperCase);
    edit->show();
    edit->activateWindow();
    edit->setFocus();
    return edit;
}

void Paste(TEdit &edit, const QString &text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
}

struct TypingCase {
    const char *name;
    int maxLength;
    bool upperCase;
    QString typed;
    QString shown;
};

class TEditTyping : public testing::TestWithParam<TypingCase> {};

TEST_P(TEditTyping, ShowsWhatTheFieldAccepts) {
    const TypingCase &c = GetParam();
    auto edit = ShownEdit(c.maxLength, c.upperCase);
    Type(edit.get(), c.typed);
    EXPECT_EQ(edit->text(), c.shown);
    // The same text pasted in one piece ends the same.
    edit->clear();
    Paste(*edit, c.typed);
    EXPECT_EQ(edit->text(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TEditTyping,
    testing::Values(TypingCase{"PolishLettersUpperCased", 32, true, QStringLiteral("ąćęłńóśźż abc"),
                               QStringLiteral("ĄĆĘŁŃÓŚŹŻ ABC")},
                    TypingCase{"LowerCaseKeptWithoutConversion", 32, false, QStringLiteral("ąbc"),
                               QStringLiteral("ąbc")},
                    TypingCase{"TenthCharacterRefused", 9, true, QStringLiteral("ab12345678"),
                               QStringLiteral("AB1234567")},
                    TypingCase{"TwentyFirstCharacterRefused", 20, true, QString(21, u'x'),
                               QString(20, u'X')},
                    TypingCase{"NoLimitWhenZero", 0, false, QString(300, u'x'), QString(300, u'x')},
                    TypingCase{"CharactersOutsideCodePageRefused", 32, true,
                               QStringLiteral("aж€b😀ß"), QStringLiteral("A€Bß")},
                    TypingCase{"ControlCharactersDropped", 32, false,
                               QStringLiteral("ab\r\ncd\tef"), QStringLiteral("abcdef")},
                    TypingCase{"LetterWithoutCapitalInCodePageStays", 32, true,
                               QStringLiteral("µm"), QStringLiteral("µM")}),
    [](const testing::TestParamInfo<TypingCase> &info) { return info.param.name; });

TEST(TEdit, TextPutInByTheProgramIsNeitherCutNorConverted) {
    auto edit = ShownEdit(6, true);
    const QString restored = QStringLiteral("00-950 warszawa ж");
    edit->setText(restored);
    EXPECT_EQ(edit->text(), restored);
    edit->setText(QString(40000, u'x'));
    EXPECT_EQ(edit->text().size(), 40000);
    edit->setText(restored);
    // The operator can still shorten it, and nothing more goes in.
    QTest::keyClick(edit.get(), Qt::Key_End);
    QTest::keyClick(edit.get(), Qt::Key_Backspace);
    Type(edit.get(), QStringLiteral("x"));
    EXPECT_EQ(edit->text(), QStringLiteral("00-950 warszawa "));
}

TEST(TEdit, PasteIsCutToTheRoomLeftAndLandsAtTheCursor) {
    auto edit = ShownEdit(6, false);
    Type(edit.get(), QStringLiteral("0950"));
    edit->setCursorPosition(2);
    Paste(*edit, QStringLiteral("-ABCDEF"));
    EXPECT_EQ(edit->text(), QStringLiteral("09-A50"));
    EXPECT_EQ(edit->cursorPosition(), 4);
}

TEST(TEdit, TypingOverASelectionReplacesItInTheOrderTyped) {
    struct Case {
        int maxLength;
        const char *before;
        int start, length; // the selection
        const char *typed;
        const char *after;
        int cursor;
    };
    const Case cases[] = {
        {3, "abc", 1, 1, "xy", "AXC", 2},    // a full field: the second letter is refused
        {32, "niva", 0, 4, "a07", "A07", 3}, // the old text ends in the letter typed first
        {32, "abc", 0, 3, "c", "C", 1},      {32, "abca", 1, 2, "a", "AAA", 2},
        {32, "abc", 3, 0, "c", "ABCC", 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        auto edit = ShownEdit(c.maxLength, true);
        Type(edit.get(), QString::fromUtf8(c.before));
        edit->setSelection(c.start, c.length);
        Type(edit.get(), QString::fromUtf8(c.typed));
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.after));
        EXPECT_EQ(edit->cursorPosition(), c.cursor);
    }
}

TEST(TEdit, RefusedInsertionLeavesTextAndUndoAsTheyWere) {
    auto edit = ShownEdit(2, true);
    Type(edit.get(), QStringLiteral("a"));
    Paste(*edit, QStringLiteral("жж"));
    EXPECT_EQ(edit->text(), QStringLiteral("A"));
    QTest::keyClick(edit.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QString());
}

TEST(TEdit, InputMethodCommitIsFilteredToo) {
    auto edit = ShownEdit(3, true);
    QInputMethodEvent event;
    event.setCommitString(QStringLiteral("źжabc"));
    QApplication::sendEvent(edit.get(), &event);
    EXPECT_EQ(edit->text(), QStringLiteral("ŹAB"));
}

TEST(TEdit, DroppedTextIsFilteredToo) {
    auto edit = ShownEdit(4, true);
    QMimeData data;
    data.setText(QStringLiteral("łódź жx"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit.get(), &drop);
    EXPECT_EQ(edit->text(), QStringLiteral("ŁÓDŹ"));
}

// However the text comes in, the filtered insertion is one undo step and what was typed
// before it stays undoable.
TEST(TEdit, FilteredInsertionUndoesAsOneStepOnEveryPath) {
    const auto keys = [](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        return [=](TEdit &edit, const QString &text) {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(&edit, key, modifiers);
        };
    };
    const struct {
        const char *path;
        std::function<void(TEdit &, const QString &)> insert;
    } paths[] = {
        {"Ctrl+V", keys(Qt::Key_V, Qt::ControlModifier)},
        {"Shift+Insert", keys(Qt::Key_Insert, Qt::ShiftModifier)},
        {"context menu",
         [](TEdit &edit, const QString &text) {
             QApplication::clipboard()->setText(text);
             QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                     edit.mapToGlobal(QPoint(5, 5)));
             QApplication::sendEvent(&edit, &event);
             QWidget *menu = QApplication::activePopupWidget();
             ASSERT_NE(menu, nullptr);
             auto *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
             ASSERT_NE(paste, nullptr);
             paste->trigger();
             menu->close();
         }},
        {"drop",
         [](TEdit &edit, const QString &text) {
             QMimeData data;
             data.setText(text);
             const QPointF end(edit.width() - 2, 5);
             QDragEnterEvent enter(end.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                                   Qt::NoModifier);
             QApplication::sendEvent(&edit, &enter);
             QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(&edit, &drop);
         }},
        {"middle button",
         [](TEdit &edit, const QString &text) {
             QApplication::clipboard()->setText(text, QClipboard::Selection);
             QTest::mouseClick(&edit, Qt::MiddleButton, {}, QPoint(edit.width() - 2, 5));
         }},
    };
    for (const auto &p : paths) {
        SCOPED_TRACE(p.path);
        if (std::string_view(p.path) == "middle button" &&
            !QApplication::clipboard()->supportsSelection())
            continue; // no selection to paste from on this platform
        auto edit = ShownEdit(9, true);
        Type(edit.get(), QStringLiteral("ab"));
        p.insert(*edit, QStringLiteral("x\tyz 1234567"));
        EXPECT_EQ(edit->text(), QStringLiteral("ABXYZ 123"));
        QTest::keyClick(edit.get(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QStringLiteral("AB"));
        QTest::keyClick(edit.get(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(edit->text().size() < 2 && QStringLiteral("AB").startsWith(edit->text()))
            << edit->text().toStdString();
    }
}

TEST(TEdit, EnterAndExitFollowTheFocusAndKeysReachTheHandler) {
    QWidget window;
    auto *first = new TEdit(&window);
    auto *second = new TEdit(&window);
    second->move(0, 30);
    QStringList events;
    for (TEdit *edit : {first, second}) {
        edit->OnEnter = [&](QWidget *s) { events << "enter " + QString::number(s == first); };
        edit->OnExit = [&](QWidget *s) { events << "exit " + QString::number(s == first); };
        edit->OnKeyDown = [&](QWidget *, int key, Qt::KeyboardModifiers shift) {
            events << QStringLiteral("key %1 %2").arg(key, 0, 16).arg(int(shift), 0, 16);
        };
    }
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_A, Qt::ShiftModifier);
    QTest::keyClick(first, Qt::Key_Tab);
    // QTest presses Shift first; Tab moves the focus before any handler sees it.
    EXPECT_EQ(events, QStringList({"enter 1", "key 1000020 2000000", "key 41 2000000", "exit 1",
                                   "enter 0"}));
    EXPECT_EQ(first->text(), QStringLiteral("a"));
}

TEST(TEdit, EnteringSelectsTheWholeTextUnlessByAClick) {
    QWidget window;
    auto *first = new TEdit(&window);
    auto *second = new TEdit(&window);
    second->move(0, 30);
    second->setText(QStringLiteral("00-950"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    second->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(second->selectedText(), QStringLiteral("00-950"));
    Type(second, QStringLiteral("01-234"));
    EXPECT_EQ(second->text(), QStringLiteral("01-234"));
    first->setFocus();
    QTest::mouseClick(second, Qt::LeftButton, Qt::NoModifier, QPoint(2, 10));
    EXPECT_FALSE(second->hasSelectedText());
}

} // namespace
