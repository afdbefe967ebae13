// The begin dialog of a text task with the real formula control and a
// scripted kernel: its layout, the kinds, Apply with a wrong, a right and an
// invalid formula, and auto-complete. (The animation window needs the
// browser engine; this binary does not start it.)
// Screenshot: stepwell_dialog_begin.png in this build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/com/com.h"
#include "shared/language.h"
#include "solvehost/symbrant_ctrl.h"
#include "stepwell/app/task_begin_dialog.h"
#include "testsupport/temp_dir.h"

namespace stepwell {
namespace {

const std::string kEquation =
    "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi><mo>=</mo><mn>2</mn></math>";

// The kernel answers when the entered formula's Aplan is the expected one.
struct ScriptedHost : ITaskDialogHost {
    void RegisterTaskDialog(QDialog* dialog) override { registered.emplace_back(dialog); }
    platform::MessageAnswer ShowDialogMessage(const std::string& text) override
    {
        shown.push_back(text);
        return platform::MessageAnswer::Ok;
    }
    platform::MessageAnswer ShowBox(const std::string& text, const std::string& caption) override
    {
        shown.push_back(caption + ": " + text);
        return platform::MessageAnswer::Ok;
    }
    const QFont& frameFont() const override { return font; }
    bool CallKernel(int code, const std::string& request, std::string& reply) override
    {
        requests.emplace_back(code, request);
        if (request != right)
            return false;
        reply = "ok";
        return true;
    }
    void SetCheckState(int state) override { states.push_back(state); }

    std::vector<QPointer<QDialog>> registered;
    std::vector<std::string> shown;
    std::vector<std::pair<int, std::string>> requests;
    std::vector<int> states;
    std::string right;
    QFont font;
};

class BeginDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(FORMAVEL_LIBRARY).string()), platform::S_OK);
        ASSERT_TRUE(shared::LoadLanguageFile(STEPWELL_LNG));
    }
    void TearDown() override { testsupport::resetHives(); }
    static std::string lang(const char* key) { return shared::GetLangString(key); }
    static QRadioButton* radio(CTaskBeginFormulaDlg& dialog, int id)
    {
        return qobject_cast<QRadioButton*>(dialog.control(id));
    }
    static void click(CTaskBeginFormulaDlg& dialog, int id)
    {
        QTest::mouseClick(qobject_cast<QPushButton*>(dialog.control(id)), Qt::LeftButton);
    }
    ScriptedHost host;
};

TEST_F(BeginDialog, LayoutTextsAndKinds)
{
    for (const bool anim : {false, true}) {
        SCOPED_TRACE(anim);
        CTaskBeginFormulaDlg dialog(&host, nullptr, 1, 2101, "x=2", anim ? "anim.xml" : "");
        dialog.show();
        QApplication::processEvents();
        // At least 500 wide, wider when the buttons' Ukrainian texts need it.
        const int w = dialog.width();
        const int h = 300;
        EXPECT_GE(w, 500);
        EXPECT_EQ(dialog.height(), h);
        EXPECT_EQ(dialog.windowTitle().toStdString(), lang("taskBFDlgTitle"));
        const int r = dialog.control(1011)->height();
        EXPECT_EQ(dialog.control(1010)->geometry(), QRect(3, 5, w - 6, h - 40));
        EXPECT_EQ(dialog.control(1011)->geometry(), QRect(5, 20, w / 2 - 13, r));
        EXPECT_EQ(dialog.control(1012)->geometry(), QRect(w / 2 + 5, 20, w / 2 - 13, r));
        ASSERT_NE(dialog.formulaControl(), nullptr);
        EXPECT_EQ(dialog.formulaControl()->geometry(), QRect(8, r + 25, w - 16, h - r - 65));
        // The buttons' row: each button shows its whole text at the dialog's
        // font and is at least as wide as before; auto-complete at the left,
        // Apply at the right, the math panel (and the animation 20 to its
        // right) in the middle; none overlaps another, all inside the dialog.
        const std::pair<int, int> least[] = {{1009, 70}, {1001, 140}, {1015, 140}, {1007, 70}};
        std::vector<QRect> row;
        for (const auto& [id, width] : least) {
            auto* button = qobject_cast<QPushButton*>(dialog.control(id));
            ASSERT_NE(button, nullptr) << id;
            const QRect place = button->geometry();
            EXPECT_GE(place.width(), std::max(width, button->sizeHint().width())) << id;
            EXPECT_GE(place.height(), button->fontMetrics().height()) << id;
            EXPECT_EQ(place.bottom(), h - 6) << id;
            EXPECT_TRUE(button->toolTip().isEmpty()) << id;
            if (id != 1015 || anim)
                row.push_back(place);
        }
        EXPECT_EQ(row.front().left(), 10);
        EXPECT_EQ(row.back().right(), w - 11);
        for (std::size_t i = 1; i < row.size(); ++i)
            EXPECT_GE(row[i].left() - row[i - 1].right() - 1, 20) << i;
        const QRect math = dialog.control(1001)->geometry();
        const int middleRight = anim ? dialog.control(1015)->geometry().right() : math.right();
        EXPECT_LE(std::abs((math.left() + middleRight + 1) - w), 1);
        EXPECT_EQ(dialog.control(1015)->isVisible(), anim);
        const std::pair<int, const char*> texts[] = {{1011, "taskBFEquation"}, {1012, "taskBFSystem"},
            {1001, "txtMathPanel"}, {1007, "txtBtnApply"}, {1015, "taskBFShowAnim"}, {1009, "taskBFAutoComplete"}};
        for (const auto& [id, key] : texts) {
            const auto* button = qobject_cast<QAbstractButton*>(dialog.control(id));
            ASSERT_NE(button, nullptr) << id;
            EXPECT_EQ(button->text().toStdString(), lang(key)) << id;
        }
        EXPECT_TRUE(dialog.grab().save(anim ? STEPWELL_PNG_DIR "/stepwell_dialog_begin.png"
                                            : STEPWELL_PNG_DIR "/stepwell_dialog_begin_no_animation.png"));
    }

    struct Case {
        int kind;
        bool equationChecked, equationEnabled, systemChecked, systemEnabled;
        std::string message;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {1, true, true, false, false, lang("beginTaskEquation"), {}},
        {2, false, false, true, true, lang("beginTaskSystem"), {}},
        {3, false, true, false, true, "", {"Невідомий тип текстової задачі"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        host.shown.clear();
        CTaskBeginFormulaDlg dialog(&host, nullptr, c.kind, 2101, "x=2", "");
        EXPECT_EQ(radio(dialog, 1011)->isChecked(), c.equationChecked);
        EXPECT_EQ(radio(dialog, 1011)->isEnabled(), c.equationEnabled);
        EXPECT_EQ(radio(dialog, 1012)->isChecked(), c.systemChecked);
        EXPECT_EQ(radio(dialog, 1012)->isEnabled(), c.systemEnabled);
        EXPECT_EQ(dialog.message(), c.message);
        EXPECT_EQ(host.shown, c.shown);
    }
}

TEST_F(BeginDialog, ApplyAndAutoComplete)
{
    auto dialog = std::make_unique<CTaskBeginFormulaDlg>(&host, nullptr, 1, 2101, "x=2", "anim.xml");
    ASSERT_EQ(host.registered.size(), 1u);
    dialog->show();
    // Nothing entered: the box with the program's caption, check state 0, the dialog stays.
    click(*dialog, 1007);
    EXPECT_EQ(host.shown, (std::vector<std::string>{lang("appTitle") + ": " + lang("erFormulaInvalid")}));
    EXPECT_EQ(host.states, (std::vector<int>{0}));
    EXPECT_TRUE(host.requests.empty());
    EXPECT_TRUE(dialog->isVisible());
    // The dialog's own light; the box has said why.
    EXPECT_TRUE(dialog->refusalShown());
    EXPECT_FALSE(dialog->refusalText()->isVisible());

    // A wrong formula: the request, no result, check state 0, the dialog stays.
    dialog->formulaControl()->SetMathMLText(kEquation);
    const std::string aplan = dialog->formulaControl()->GetAplanText();
    ASSERT_FALSE(aplan.empty());
    host.right = "(x=2),(something else)";
    click(*dialog, 1007);
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0], std::make_pair(2101, "(x=2),(" + aplan + ")"));
    EXPECT_EQ(host.states, (std::vector<int>{0, 0}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->formula().empty());
    // Refused: the light and the words under the formula, which makes room for them.
    EXPECT_TRUE(dialog->refusalShown());
    EXPECT_TRUE(dialog->refusalText()->isVisible());
    EXPECT_EQ(dialog->refusalText()->text().toStdString(), lang("beginTaskRefused"));
    EXPECT_LE(dialog->formulaControl()->geometry().bottom(), dialog->refusalText()->geometry().top());
    dialog->grab().save(STEPWELL_PNG_DIR "/stepwell_dialog_begin_refused.png");

    // The right formula: result 1, the message and the formula kept.
    host.right = "(x=2),(" + aplan + ")";
    click(*dialog, 1007);
    EXPECT_EQ(dialog->result(), CTaskBeginFormulaDlg::kResultUser);
    EXPECT_EQ(dialog->message(), lang("beginTaskEquation") + lang("beginTaskUser"));
    EXPECT_EQ(dialog->formula(), dialog->formulaControl()->GetMathMLText());

    // Auto-complete: result 5.
    CTaskBeginFormulaDlg second(&host, nullptr, 2, 2101, "x=2", "");
    second.show();
    click(second, 1009);
    EXPECT_EQ(second.result(), CTaskBeginFormulaDlg::kResultProgram);
    EXPECT_EQ(second.message(), lang("beginTaskSystem") + lang("beginTaskProg"));

    // The frame's pointer clears with the dialog.
    dialog.reset();
    EXPECT_TRUE(host.registered[0].isNull());
}

}  // namespace
}  // namespace stepwell
