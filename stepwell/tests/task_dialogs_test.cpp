// The description and new-task dialogs with the real formula control:
// control rectangles at two sizes, texts by key, every OK, Cancel and error
// path, the new task's XML, and their registration with the frame.
// Screenshots: stepwell_dialog_*.png in this build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>

#include "platform/com/com.h"
#include "shared/language.h"
#include "solvehost/symbrant_ctrl.h"
#include "stepwell/app/condition_editor_ctrl.h"
#include "stepwell/app/task_dialogs.h"
#include "testsupport/temp_dir.h"

namespace stepwell {
namespace {

const std::string kSum =
    "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi><mo>+</mo><mn>1</mn></math>";

struct RecordingDialogHost : ITaskDialogHost {
    void RegisterTaskDialog(QDialog* dialog) override { registered.emplace_back(dialog); }
    platform::MessageAnswer ShowDialogMessage(const std::string& text) override
    {
        shown.push_back(text);
        return platform::MessageAnswer::Ok;
    }
    const QFont& frameFont() const override { return font; }

    std::vector<QPointer<QDialog>> registered;
    std::vector<std::string> shown;
    QFont font;
};

class TaskDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(FORMAVEL_LIBRARY).string()), platform::S_OK);
        ASSERT_TRUE(shared::LoadLanguageFile(STEPWELL_LNG));
        host.font = QApplication::font();
        host.font.setPixelSize(15);
    }
    void TearDown() override { testsupport::resetHives(); }

    static std::string lang(const char* key) { return shared::GetLangString(key); }
    static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    RecordingDialogHost host;
};

void expectText(QWidget* widget, const char* key)
{
    ASSERT_NE(widget, nullptr) << key;
    const auto* button = qobject_cast<QPushButton*>(widget);
    const auto* label = qobject_cast<QLabel*>(widget);
    const QString text = button ? button->text() : label->text();
    EXPECT_EQ(text.toStdString(), shared::GetLangString(key)) << key;
}

TEST_F(TaskDialogs, DescriptionDialogLayoutTextsAndPaths)
{
    auto dialog = std::make_unique<CEditDescriptionDialog>(&host, nullptr, "a b");
    ASSERT_EQ(host.registered.size(), 1u);
    EXPECT_EQ(host.registered[0], dialog.get());
    dialog->show();
    EXPECT_EQ(dialog->size(), QSize(600, 450));
    EXPECT_EQ(dialog->minimumSize(), QSize(550, 400));
    EXPECT_EQ(dialog->windowTitle().toStdString(), lang("txtNewTaskTitle"));
    expectText(dialog->label(1004), "txtNewTaskCondition");
    expectText(dialog->button(1005), "txtMathPanel");
    expectText(dialog->button(1006), "txtNewTaskInstME");
    expectText(dialog->button(1007), "txtBtnOk");
    expectText(dialog->button(2), "txtBtnCancel");
    ASSERT_NE(dialog->hiddenFormula(), nullptr);
    EXPECT_FALSE(dialog->hiddenFormula()->isVisible());
    EXPECT_EQ(dialog->paletteControl(), dialog->hiddenFormula());
    std::string text;
    dialog->editor()->GetText(text);
    EXPECT_EQ(text, "a b");

    for (const QSize size : {QSize(600, 450), QSize(800, 520)}) {
        SCOPED_TRACE(size.width());
        dialog->resize(size);
        QApplication::processEvents();
        const int w = size.width();
        const int h = size.height();
        const int l = dialog->label(1004)->height();
        EXPECT_EQ(dialog->label(1004)->geometry(), QRect(10, 10, w - 20, l));
        EXPECT_EQ(dialog->editor()->geometry(), QRect(10, l + 15, w - 20, h - (l + 10) - 60));
        EXPECT_EQ(dialog->button(2)->geometry(), QRect(10, h - 35, 80, 25));
        EXPECT_EQ(dialog->button(1007)->geometry(), QRect(w - 90, h - 35, 80, 25));
        EXPECT_EQ(dialog->button(1005)->geometry(), QRect(w / 2 - 70, h - 35, 140, 25));
        EXPECT_EQ(dialog->button(1006)->geometry(), QRect(w - 190, 5, 180, 20));
    }
    dialog->resize(600, 450);
    // 1006: an empty formula at the caret, the editor focused.
    QApplication::setActiveWindow(dialog.get());
    click(dialog->button(1006));
    EXPECT_TRUE(dialog->editor()->hasFocus());
    ASSERT_NE(dialog->editor()->caret(), nullptr);
    EXPECT_EQ(dialog->editor()->caret()->kind, solvehost::LayoutItemKind::Formula);
    QApplication::processEvents();
    EXPECT_TRUE(dialog->grab().save(STEPWELL_PNG_DIR "/stepwell_dialog_description.png"));

    // OK with an empty text: the message, and the dialog stays.
    while (dialog->editor()->layout().Items().head) {
        QTest::keyClick(dialog->editor(), Qt::Key_End);
        QTest::keyClick(dialog->editor(), Qt::Key_Backspace);
    }
    click(dialog->button(1007));
    EXPECT_EQ(host.shown, (std::vector<std::string>{lang("erEmptyCondition")}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->text().empty());
    // Typed text: OK ends with it.
    QTest::keyClicks(dialog->editor(), "xy");
    click(dialog->button(1007));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->text(), "xy");

    // Cancel ends without a text.
    CEditDescriptionDialog cancelled(&host, nullptr, "q");
    cancelled.show();
    click(cancelled.button(2));
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_TRUE(cancelled.text().empty());

    // The frame's pointer clears with the dialog.
    dialog.reset();
    EXPECT_TRUE(host.registered[0].isNull());
}

TEST_F(TaskDialogs, NewTaskDialogLayoutTextsPathsAndXml)
{
    auto dialog = std::make_unique<CNewTaskDialog>(&host, nullptr, "equation", "Розв'яжіть");
    dialog->show();
    EXPECT_EQ(host.registered.size(), 1u);
    EXPECT_EQ(dialog->size(), QSize(600, 450));
    EXPECT_EQ(dialog->minimumSize(), QSize(550, 400));
    EXPECT_EQ(dialog->windowTitle().toStdString(), lang("txtNewTaskTitle"));
    expectText(dialog->label(1004), "txtNewTaskCondition");
    expectText(dialog->label(1002), "txtNewTaskStartFormula");
    expectText(dialog->button(1005), "txtMathPanel");
    expectText(dialog->button(1006), "txtNewTaskInstME");
    expectText(dialog->button(1007), "txtBtnOk");
    expectText(dialog->button(2), "txtBtnCancel");
    EXPECT_EQ(dialog->editor()->objectName(), "Condition");
    EXPECT_EQ(dialog->editor()->property("controlId").toInt(), 106);
    ASSERT_NE(dialog->startControl(), nullptr);
    EXPECT_EQ(dialog->startControl()->objectName(), "105");
    EXPECT_EQ(dialog->paletteControl(), dialog->startControl());

    for (const QSize size : {QSize(600, 450), QSize(700, 600)}) {
        SCOPED_TRACE(size.width());
        dialog->resize(size);
        QApplication::processEvents();
        const int w = size.width();
        const int h = size.height();
        const int l = dialog->label(1004)->height();
        const int m = (h - (2 * l + 10) - 60) / 2;
        EXPECT_EQ(dialog->label(1004)->geometry(), QRect(10, 10, w - 20, l));
        EXPECT_EQ(dialog->editor()->geometry(), QRect(10, l + 15, w - 20, m));
        EXPECT_EQ(dialog->label(1002)->geometry(), QRect(10, l + m + 20, w - 20, l));
        EXPECT_EQ(dialog->startControl()->geometry(), QRect(10, m + 2 * l + 25, w - 20, m));
        EXPECT_EQ(dialog->button(2)->geometry(), QRect(10, h - 35, 80, 25));
        EXPECT_EQ(dialog->button(1007)->geometry(), QRect(w - 90, h - 35, 80, 25));
        EXPECT_EQ(dialog->button(1005)->geometry(), QRect(w / 2 - 70, h - 35, 140, 25));
        EXPECT_EQ(dialog->button(1006)->geometry(), QRect(w - 190, 5, 180, 20));
    }
    dialog->resize(600, 450);

    // No start formula: "erFormulaInvalid", the dialog stays.
    click(dialog->button(1007));
    EXPECT_EQ(host.shown, (std::vector<std::string>{lang("erFormulaInvalid")}));
    EXPECT_TRUE(dialog->isVisible());
    // A start formula but no condition: "erEmptyCondition".
    dialog->startControl()->SetMathMLText(kSum);
    dialog->editor()->SetText("");
    while (dialog->editor()->layout().Items().head) {
        QTest::keyClick(dialog->editor(), Qt::Key_End);
        QTest::keyClick(dialog->editor(), Qt::Key_Backspace);
    }
    click(dialog->button(1007));
    EXPECT_EQ(host.shown.back(), lang("erEmptyCondition"));
    EXPECT_TRUE(dialog->isVisible());
    // Typed text and Alt+M's formula: OK, and the XML on one line.
    QTest::keyClicks(dialog->editor(), "Solve");
    QTest::keyClick(dialog->editor(), Qt::Key_M, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_TRUE(dialog->grab().save(STEPWELL_PNG_DIR "/stepwell_dialog_new_task.png"));
    click(dialog->button(1007));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const std::string start = dialog->startControl()->GetMathMLText();
    EXPECT_EQ(dialog->startFormula(), start);
    std::string condition;
    dialog->editor()->GetText(condition);
    EXPECT_EQ(condition.rfind("Solve<math", 0), 0u);
    EXPECT_EQ(dialog->BuildTaskXml(),
              "<TASK id=\"1\" type=\"equation\" title=\"Задача\"><CONDITION><TEXT>" + condition +
                  "</TEXT><JOBSLIST><JOB id=\"1\" asTask=\"yes\" number=\"yes\"><FORMULA>" + start +
                  "</FORMULA></JOB></JOBSLIST></CONDITION></TASK>");

    // A condition that is only a formula: TEXT holds only its MathML.
    CNewTaskDialog only(&host, nullptr, "t", kSum);
    only.show();
    only.startControl()->SetMathMLText(kSum);
    click(only.button(1007));
    ASSERT_EQ(only.result(), QDialog::Accepted);
    const std::string xml = only.BuildTaskXml();
    const std::string formula = only.startFormula();
    EXPECT_NE(xml.find("<TEXT>" + formula + "</TEXT>"), std::string::npos) << xml;

    // Cancel keeps nothing.
    CNewTaskDialog cancelled(&host, nullptr, "t", "x");
    cancelled.show();
    click(cancelled.button(2));
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_TRUE(cancelled.startFormula().empty());
}

}  // namespace
}  // namespace stepwell
