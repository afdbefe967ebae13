// The auto-complete combo box typed into as a user would.
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "shared/widgets/auto_complete_combo.h"

namespace shared {
namespace {

struct Combo {
    CAutoCompleteCombo combo;
    explicit Combo(const QStringList& items)
    {
        combo.addItems(items);
        combo.setCurrentIndex(-1);
        combo.lineEdit()->clear();
        combo.show();
        combo.lineEdit()->setFocus();
    }
    QLineEdit* edit() { return combo.lineEdit(); }
};

TEST(AutoCompleteCombo, CompletesToTheListsSpellingWithTheTailSelected)
{
    Combo f({"Xyz", "Abcde", "abzz"});
    QTest::keyClicks(f.edit(), "ab");
    EXPECT_EQ(f.edit()->text(), "Abcde");
    EXPECT_EQ(f.edit()->selectedText(), "cde");
    EXPECT_EQ(f.edit()->selectionStart(), 2);
    EXPECT_EQ(f.combo.currentIndex(), 1);
    // Typing on overwrites the selected tail and completes again.
    QTest::keyClicks(f.edit(), "z");
    EXPECT_EQ(f.edit()->text(), "abzz");
    EXPECT_EQ(f.edit()->selectedText(), "z");
}

TEST(AutoCompleteCombo, BackspaceDoesNotCompleteTheNextLetterDoes)
{
    Combo f({"Abcde"});
    QTest::keyClicks(f.edit(), "ab");
    ASSERT_EQ(f.edit()->text(), "Abcde");
    QTest::keyClick(f.edit(), Qt::Key_Backspace);
    EXPECT_EQ(f.edit()->text(), "Ab");
    EXPECT_FALSE(f.combo.completionArmed());
    QTest::keyClick(f.edit(), Qt::Key_Backspace);
    EXPECT_EQ(f.edit()->text(), "A");
    QTest::keyClicks(f.edit(), "b");
    EXPECT_EQ(f.edit()->text(), "Abcde");
    EXPECT_EQ(f.edit()->selectedText(), "cde");
}

TEST(AutoCompleteCombo, UnmatchedTextStaysWithTheCaretWhereItWas)
{
    Combo f({"Abcde"});
    QTest::keyClicks(f.edit(), "xy");
    EXPECT_EQ(f.edit()->text(), "xy");
    EXPECT_EQ(f.edit()->cursorPosition(), 2);
    EXPECT_FALSE(f.edit()->hasSelectedText());
    QTest::keyClick(f.edit(), Qt::Key_Home);
    QTest::keyClicks(f.edit(), "q");
    EXPECT_EQ(f.edit()->text(), "qxy");
    EXPECT_EQ(f.edit()->cursorPosition(), 1);
}

TEST(AutoCompleteCombo, FirstInListOrderWinsAndEmptyListNeverCompletes)
{
    Combo f({"Beta2", "beta1", "Bet"});
    QTest::keyClicks(f.edit(), "b");
    EXPECT_EQ(f.edit()->text(), "Beta2");
    EXPECT_EQ(f.combo.SelectString(0, "be"), 1);
    EXPECT_EQ(f.combo.SelectString(2, "beta"), 0);
    EXPECT_EQ(f.combo.SelectString(-1, "q"), -1);
    EXPECT_EQ(f.combo.currentIndex(), 0);

    Combo empty({});
    QTest::keyClicks(empty.edit(), "ab");
    EXPECT_EQ(empty.edit()->text(), "ab");
    EXPECT_EQ(empty.combo.SelectString(-1, ""), -1);
}

}  // namespace
}  // namespace shared
