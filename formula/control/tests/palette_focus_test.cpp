// The palettes beside a placed control in editor mode: showing them and
// clicking their buttons leaves the keyboard with the formula, so the pupil
// clicks a template and goes on typing.
#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <string>

#include "formula/control/tests/control_host.h"

namespace formula::control::test {
namespace {

using PaletteFocus = ControlHost;

QWidget* shownPalette(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->objectName() == QLatin1String(name)) {
            return top;
        }
    }
    return nullptr;
}

QAbstractButton* paletteButton(QWidget* palette, int toolId)
{
    return palette ? palette->findChild<QAbstractButton*>(QStringLiteral("tool_%1").arg(toolId)) : nullptr;
}

// Keys as the keyboard delivers them: to the window that has the focus, and
// there to its focus widget. Nothing is typed when no window has the focus.
void typeAtTheFocus(const char* keys)
{
    QWindow* focus = QGuiApplication::focusWindow();
    ASSERT_NE(focus, nullptr) << "no window has the keyboard";
    for (const char* key = keys; *key; ++key) {
        QTest::keyClick(focus, *key);
    }
}

TEST_F(PaletteFocus, ThePupilClicksAButtonAndGoesOnTyping)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseEditor);
    parent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    window->setFocus();
    typeAtTheFocus("2+");
    ASSERT_EQ(control.getProperty<std::string>(disp::LexemText), "2+");

    control.invoke(disp::ShowToolsDlg, "");
    QWidget* templates = shownPalette("templatesPalette");
    QWidget* functions = shownPalette("functionsPalette");
    ASSERT_NE(templates, nullptr);
    ASSERT_NE(functions, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(templates));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(functions));
    // Whatever activation the windows were shown with has arrived.
    QTest::qWait(50);
    EXPECT_TRUE(window->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), window);
    EXPECT_EQ(QGuiApplication::focusWindow(), parent->windowHandle());
    typeAtTheFocus("3");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2+3");

    // The pointer passes over the palette to a button and clicks it.
    QAbstractButton* brackets = paletteButton(templates, 211);
    ASSERT_NE(brackets, nullptr);
    QTest::mouseMove(templates->windowHandle(), brackets->geometry().center());
    QTest::mouseClick(brackets, Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_TRUE(window->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), window);
    typeAtTheFocus("4");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2+3@br_persist_rr$4#");

    // The same with a function.
    QAbstractButton* sine = paletteButton(functions, 317);
    ASSERT_NE(sine, nullptr);
    QTest::mouseMove(functions->windowHandle(), sine->geometry().center());
    QTest::mouseClick(sine, Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_TRUE(window->hasFocus());
    typeAtTheFocus("x");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "2+3@br_persist_rr$4@func$sin$x##");

    // Neither the palettes nor their buttons take the keyboard.
    for (QWidget* palette : {templates, functions}) {
        EXPECT_TRUE(palette->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        EXPECT_EQ(palette->focusPolicy(), Qt::NoFocus);
        for (QAbstractButton* button : palette->findChildren<QAbstractButton*>()) {
            EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        }
    }
}

}  // namespace
}  // namespace formula::control::test
