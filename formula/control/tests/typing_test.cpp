// Formulas typed into the placed control as a pupil types them: key clicks
// (a Ukrainian layout's letters included), the formula's texts after the last
// key, the hint for a character the formula cannot hold, the view following
// the caret along a long formula; a screenshot of typed formulas.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <string>

#include "formula/control/tests/control_host.h"

namespace formula::control::test {
namespace {

using Typing = ControlHost;

// Types a script: "{NAME}" is a key (RIGHT, LEFT, HOME, END, ENTER), any
// other character is clicked as a key whose text it is. Characters outside
// Latin-1 go as the key events a non-Latin layout gives (the key code is the
// upper-case letter, the text the letter typed).
void typeScript(QWidget* window, const QString& script)
{
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar ch = script.at(i);
        if (ch == u'{') {
            const qsizetype end = script.indexOf(u'}', i);
            const QString name = script.mid(i + 1, end - i - 1);
            i = end;
            const Qt::Key key = name == "RIGHT" ? Qt::Key_Right
                                : name == "LEFT" ? Qt::Key_Left
                                : name == "HOME" ? Qt::Key_Home
                                : name == "END"  ? Qt::Key_End
                                                 : Qt::Key_Return;
            QTest::keyClick(window, key);
        } else if (ch.unicode() < 0x80) {
            QTest::keyClick(window, static_cast<char>(ch.unicode()));
        } else {
            const auto key = static_cast<Qt::Key>(ch.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Press, window, key, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, window, key, QString(ch), Qt::NoModifier);
        }
    }
}

struct TypedRow {
    const char* keys;
    const char* lexemText;
    // What the kernel gets; not checked when null.
    const char* aplanText = nullptr;
};

// The same keys give the same formula in every school class.
const TypedRow kTypedRows[] = {
    // "^" and "/" after an operand take it: base, numerator.
    {"x^2{RIGHT}+1", "@index_up$x$2#+1", "x^!2+!1"},
    {"(x+1)^2", "@index_up$x+1$2#", "(x+!1)^!2"},
    {"2^10", "@index_up$2$10#"},
    {"1/2{RIGHT}+1/3", "@hor_frac$1$2#+@hor_frac$1$3#"},
    {"2x/3", "@hor_frac$2*x$3#"},
    // Relation signs in every class; "=" after "<" or ">" makes one sign.
    {"3*x-5<7", "3*x-5<7"},
    {"x>=2", "x@spec$>=#2"},
    {"x<=-1", "x@spec$<=#-1"},
    // A decimal point in a number is the formula's comma.
    {"0.5+1", "0,5+1"},
    // The Ukrainian layout's letters that look like Latin ones.
    {"хх+у", "x*x+y"},
    {"ХаС", "X*a*C"},
    // A product typed without its sign gets it.
    {"2x+1", "2*x+1"},
    {"3a-2b", "3*a-2*b"},
    {"2(x+1)", "2*(x+1)", "2*!(x+!1)"},
    {"(x+1)(x-1)", "(x+1)*(x-1)"},
    {"x(x-1)", "x*(x-1)"},
    {"2x+3=7", "2*x+3=7", "2*!x+!3=!7"},
    // Enter splits the line; the empty line after the formula is not read.
    {"2+3{ENTER}", "2+3@#", "2+!3"},
};

TEST_F(Typing, KeySequencesGiveTheirFormulaInClassesSevenAndNine)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    window->setFocus();
    for (const std::int32_t schoolClass : {7, 9}) {
        ASSERT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::SetSchoolClass, schoolClass)), 1);
        for (const TypedRow& row : kTypedRows) {
            SCOPED_TRACE(std::string("class ") + std::to_string(schoolClass) + " keys " + row.keys);
            control.setProperty(disp::LexemText, "");
            typeScript(window, QString::fromUtf8(row.keys));
            EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), row.lexemText);
            EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::IsFormulaValid)), 1);
            if (row.aplanText) {
                EXPECT_EQ(control.invoke<std::string>(disp::GetAplanText), row.aplanText);
            }
        }
    }
    control.invoke(disp::SetSchoolClass, 0);
}

TEST_F(Typing, ShortcutsWithoutAnOperandBeforeInsertEmptyTemplates)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    window->setFocus();
    for (const auto& [keys, text] : {std::pair{"^x{RIGHT}2", "@index_up$x$2#"}, std::pair{"+/1", "+@hor_frac$1$#"},
                                     std::pair{"x-^", "x-@index_up$$#"}}) {
        SCOPED_TRACE(keys);
        control.setProperty(disp::LexemText, "");
        typeScript(window, QString::fromUtf8(keys));
        EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), text);
    }
}

TEST_F(Typing, ACharacterTheFormulaCannotHoldShowsAHintAtTheCaret)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    control.invoke(disp::SetLanguge, std::int32_t{2});
    window->setFocus();
    typeScript(window, "x+");
    events.clear();
    for (const char* refused : {"ш", "@", "№"}) {
        SCOPED_TRACE(refused);
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        typeScript(window, QString::fromUtf8(refused));
        EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "x+");
        ASSERT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Цей символ не можна використати у формулі"));
    }
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    EXPECT_TRUE(eventsWithId(event::FormulaChanged).empty());
    // A character the formula holds shows none.
    typeScript(window, "1");
    EXPECT_FALSE(QToolTip::isVisible());
    control.invoke(disp::SetLanguge, std::int32_t{0});
}

// The caret as the control reports it to input methods.
QRect caretOf(QWidget* window)
{
    return window->inputMethodQuery(Qt::ImCursorRectangle).toRect();
}

TEST_F(Typing, TheViewFollowsTheCaretAlongALongFormula)
{
    DispatchDriver control = createPlaced(300, 80);
    control.invoke(disp::UseEditor);
    window->setFocus();
    typeScript(window, "1{HOME}");
    const QRect home = caretOf(window);
    QString sum = "1";
    QString keys = "{END}";
    for (int term = 2; term <= 40; ++term) {
        sum += "+" + QString::number(term);
        keys += "+" + QString::number(term);
    }
    typeScript(window, keys);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), sum.toStdString());
    const QRect atEnd = caretOf(window);
    EXPECT_TRUE(window->rect().contains(atEnd)) << atEnd.x() << "," << atEnd.y();
    EXPECT_GT(atEnd.x(), window->width() / 2);
    // Home puts the formula back where it stood, End scrolls it again.
    typeScript(window, "{HOME}");
    EXPECT_EQ(caretOf(window), home);
    typeScript(window, "{END}");
    EXPECT_EQ(caretOf(window), atEnd);
}

TEST_F(Typing, ScreenshotOfTypedFormulas)
{
    DispatchDriver control = createPlaced(360, 70);
    control.invoke(disp::UseEditor);
    // The caret is drawn in the active window's focused control.
    parent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    window->setFocus();
    typeScript(window, "x^2{RIGHT}+1>=1/2");
    const QImage typed = window->grab().toImage();
    control.setProperty(disp::LexemText, "");
    QString sum = "x^2{RIGHT}";
    for (int term = 1; term <= 30; ++term) {
        sum += "+" + QString::number(term) + "/2{RIGHT}";
    }
    typeScript(window, sum);
    const QImage scrolled = window->grab().toImage();
    QImage sheet(typed.width(), typed.height() + scrolled.height() + 4, QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    QPainter painter(&sheet);
    painter.drawImage(0, 0, typed);
    painter.drawImage(0, typed.height() + 4, scrolled);
    painter.end();
    ASSERT_TRUE(sheet.save(QString(FORMAVEL_PNG_DIR) + "/formavel_typing.png"));
}

}  // namespace
}  // namespace formula::control::test
