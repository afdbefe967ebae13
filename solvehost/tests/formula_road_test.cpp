// The road of one transformation without windows: the pupil drags and
// double-clicks in the formula's transformer, a host answers each event from
// inside it as the steps view does (through the kernel binding and the
// stand-in kernel under a temporary install root), and the reply goes back
// as the operation result.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "formula/env/formula_env.h"
#include "formula/layout/fake_canvas.h"
#include "formula/model/lexem.h"
#include "formula/optree/operation_tree.h"
#include "formula/transform/transform_listener.h"
#include "formula/transform/transformer.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "shared/settings.h"
#include "solvehost/solve_kernel.h"
#include "testsupport/temp_dir.h"

namespace solvehost {
namespace {

namespace fs = std::filesystem;

// A host of the transformer: the events of the formula control as the steps
// view answers them, with the kernel function code of each operation.
class StepsHost : public formula::ITransformListener {
public:
    StepsHost(CKernelFuncMgr& kernel, formula::CFormulaEnv& env)
        : m_kernel(kernel)
        , m_env(env)
    {
    }
    void SetTransformer(formula::CTransformer* transformer) { m_transformer = transformer; }

    std::vector<std::string> events;
    std::vector<std::string> requests;
    // The kernel's replies, "NORES" as it came.
    std::vector<std::string> replies;

    void OnOperationLClick() override
    {
        events.emplace_back("lclick");
        m_transformer->SetOperationResult(false, "", true);
    }
    void OnOperationRClick(int vertex, const std::string& data) override
    {
        events.push_back("rclick " + std::to_string(vertex) + " " + data);
    }
    void OnOperationDblClick(int vertex, const std::string& data) override
    {
        events.push_back("dblclick " + std::to_string(vertex) + " " + data);
        Transform(vertex, data);
    }
    void OnOperationDragDrop(int vertex, const std::string& source, const std::string& target) override
    {
        events.push_back("dragdrop " + std::to_string(vertex) + " " + source + "|" + target);
        const char* sign = vertex == 1 ? "+!" : vertex == 2 ? "-!" : vertex == 4 ? "*!" : vertex == 5 ? "/!" : nullptr;
        if (source.empty() || !sign) {
            m_transformer->SetOperationResult(false, "", true);
            return;
        }
        Transform(vertex, source + sign + target);
    }
    void OnFormulaTransformed() override { events.emplace_back("transformed"); }

private:
    void Transform(int operation, const std::string& part)
    {
        int code = 0;
        std::string text = part;
        switch (operation) {
        case 1:
            code = 10;
            break;
        case 2:
            code = 11;
            break;
        case 3:
            code = 333;
            break;
        case 4:
            code = 12;
            break;
        case 5:
            code = 13;
            break;
        case 10:
            code = 14;
            text = "(" + m_env.GetAplanText() + ")," + part;
            break;
        default:
            m_transformer->SetOperationResult(false, "", true);
            return;
        }
        requests.push_back(std::to_string(code) + " " + text);
        std::string reply;
        const bool ok = m_kernel.CallKernel(code, text, reply);
        replies.push_back(reply);
        m_transformer->SetOperationResult(ok, reply, true);
    }

    CKernelFuncMgr& m_kernel;
    formula::CFormulaEnv& m_env;
    formula::CTransformer* m_transformer = nullptr;
};

class FormulaRoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        platform::setMessageRecorder(&m_messages);
        m_oldDir = fs::current_path();
        fs::current_path(m_workDir.path());
        ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                                  "InstallPath", m_root.path()),
                  0);
        fs::create_directories(m_root.path() + "kernel/solvekernel");
        fs::create_symlink(TARVIK_LIBRARY, m_root.path() + "kernel/solvekernel/tarvik.so");
        fs::create_directories(m_root.path() + "modules/tessaly");
        fs::copy_file(std::string(TARVIK_RULES_DIR) + "/stepwell.clew",
                      m_root.path() + "modules/tessaly/stepwell.clew");
    }
    void TearDown() override
    {
        fs::current_path(m_oldDir);
        platform::setMessageRecorder(nullptr);
        testsupport::resetHives();
    }

    platform::MessageRecorder m_messages;
    testsupport::TempDir m_root;
    testsupport::TempDir m_workDir;
    fs::path m_oldDir;
};

// The centre of the nth (from 0) visible lexeme reading `text`, depth first
// through the tree; a lexeme that has two nodes (an operand between two
// signs, a minus and the bare node of its operand) counts once.
formula::Point CentreOf(formula::CFormulaEnv& env, const std::string& text, int nth = 0)
{
    formula::FakeCanvas canvas;
    env.Layout(canvas);
    std::vector<const formula::COperationNode*> stack{env.TreeRoot()};
    std::vector<const formula::CLexem*> seen;
    while (!stack.empty()) {
        const formula::COperationNode* node = stack.back();
        stack.pop_back();
        if (!node) {
            continue;
        }
        const formula::CLexem* lexem = node->Lexeme();
        if (lexem && !formula::IsPresetSign(lexem) && lexem->LexemText() == text &&
            std::find(seen.begin(), seen.end(), lexem) == seen.end()) {
            if (static_cast<int>(seen.size()) == nth) {
                const formula::Box& box = lexem->GetBox();
                return {box.x + box.width / 2, box.y + box.height / 2};
            }
            seen.push_back(lexem);
        }
        for (int i = node->ChildCount() - 1; i >= 0; --i) {
            stack.push_back(node->Child(i));
        }
    }
    ADD_FAILURE() << "no node " << text;
    return {-1, -1};
}

TEST_F(FormulaRoad, DragThenDoubleClickThroughTheKernel)
{
    CKernelFuncMgr kernel("stepwell.clew");
    ASSERT_TRUE(kernel.InitKernel());
    ASSERT_TRUE(m_messages.messages.empty());

    formula::CFormulaEnv env;
    std::vector<std::string> shown;
    env.SetMessageSink([&](std::string_view text, formula::MessageIcon) { shown.emplace_back(text); });
    formula::EnvError error;
    ASSERT_TRUE(env.SetLexemText("2*x+3=7", error));
    ASSERT_TRUE(env.SetTransformerMode());
    StepsHost host(kernel, env);
    formula::CTransformer transformer(env, &host);
    host.SetTransformer(&transformer);

    // Drag 3 onto "=": the transformer moves it by itself.
    const formula::Point three = CentreOf(env, "3");
    const formula::Point equals = CentreOf(env, "=");
    transformer.OnLeftDown(three, false);
    transformer.DragEnter(three);
    transformer.DragOver(equals);
    transformer.Drop(equals);
    EXPECT_EQ(env.GetLexemText(), "2*x=-3+7");
    EXPECT_EQ(host.events, (std::vector<std::string>{"lclick", "transformed"}));

    // Hover and double-click the "+": the host asks the kernel inside the
    // event and hands the reply back.
    const formula::Point plus = CentreOf(env, "+");
    transformer.OnMouseMove(plus, false);
    EXPECT_TRUE(transformer.OnDoubleClick(plus));
    ASSERT_EQ(host.events.size(), 3u);
    EXPECT_EQ(host.events[2], "dblclick 1 (-3)+!7");
    EXPECT_EQ(host.requests, std::vector<std::string>{"10 (-3)+!7"});
    EXPECT_EQ(env.GetLexemText(), "2*x=4");
    EXPECT_EQ(transformer.Pending(), formula::PendingOperation::None);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(m_messages.messages.empty());

    // The same road continues: dividing needs the product's sign.
    const formula::Point times = CentreOf(env, "*");
    transformer.OnMouseMove(times, false);
    EXPECT_TRUE(transformer.OnDoubleClick(times));
    EXPECT_EQ(host.events.back(), "dblclick 4 2*!x");
}

// Two terms dropped on each other: the host combines them through the
// kernel; the target takes the reply and the source goes.
TEST_F(FormulaRoad, DropOfTwoTermsThroughTheKernel)
{
    CKernelFuncMgr kernel("stepwell.clew");
    ASSERT_TRUE(kernel.InitKernel());
    formula::CFormulaEnv env;
    std::vector<std::string> shown;
    env.SetMessageSink([&](std::string_view text, formula::MessageIcon) { shown.emplace_back(text); });
    formula::EnvError error;
    ASSERT_TRUE(env.SetLexemText("2*x+3+4=7", error));
    ASSERT_TRUE(env.SetTransformerMode());
    StepsHost host(kernel, env);
    formula::CTransformer transformer(env, &host);
    host.SetTransformer(&transformer);

    const formula::Point three = CentreOf(env, "3");
    const formula::Point four = CentreOf(env, "4");
    transformer.OnLeftDown(three, false);
    transformer.DragEnter(three);
    transformer.DragOver(four);
    transformer.Drop(four);
    EXPECT_EQ(host.events.back(), "dragdrop 1 3|4");
    EXPECT_EQ(host.requests, std::vector<std::string>{"10 3+!4"});
    EXPECT_EQ(env.GetLexemText(), "2*x+7=7");
    EXPECT_EQ(transformer.Pending(), formula::PendingOperation::None);
    EXPECT_TRUE(shown.empty());
}

// A kernel result in place of the part of a sum, a product, a fraction, a
// bracket, a line of a system or an interval end: the reply comes from the
// kernel, goes in without brackets that would stick to a neighbour, the tree
// is rebuilt and the next double click fires again.
struct KernelResultCase {
    std::string name;
    std::string formula;
    // The double-clicked lexeme, the nth (from 0) of that text.
    std::string node;
    int nth;
    std::string request;
    std::string reply;
    std::string after;
    // The lexeme double-clicked next.
    std::string next;
};

void PrintTo(const KernelResultCase& c, std::ostream* out)
{
    *out << c.formula;
}

class KernelResults : public FormulaRoad, public ::testing::WithParamInterface<KernelResultCase> {
};

TEST_P(KernelResults, ReplyTakesThePlaceOfTheOperatedPart)
{
    const KernelResultCase& c = GetParam();
    CKernelFuncMgr kernel("stepwell.clew");
    ASSERT_TRUE(kernel.InitKernel());
    formula::CFormulaEnv env;
    std::vector<std::string> shown;
    env.SetMessageSink([&](std::string_view text, formula::MessageIcon) { shown.emplace_back(text); });
    formula::EnvError error;
    ASSERT_TRUE(env.SetLexemText(c.formula, error));
    ASSERT_TRUE(env.SetTransformerMode());
    StepsHost host(kernel, env);
    formula::CTransformer transformer(env, &host);
    host.SetTransformer(&transformer);

    const formula::Point at = CentreOf(env, c.node, c.nth);
    transformer.OnMouseMove(at, false);
    EXPECT_TRUE(transformer.OnDoubleClick(at));
    EXPECT_EQ(host.requests, std::vector<std::string>{c.request});
    EXPECT_EQ(host.replies, std::vector<std::string>{c.reply});
    EXPECT_EQ(env.GetLexemText(), c.after);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_NE(env.TreeRoot(), nullptr);
    EXPECT_TRUE(env.IsFormulaValid());
    EXPECT_EQ(transformer.Pending(), formula::PendingOperation::None);

    const formula::Point next = CentreOf(env, c.next);
    transformer.OnMouseMove(next, false);
    EXPECT_TRUE(transformer.OnDoubleClick(next));
    EXPECT_EQ(host.events.size(), 2u);
    EXPECT_EQ(transformer.Pending(), formula::PendingOperation::None);
}

const KernelResultCase kKernelResultCases[] = {
    {"EquationLeftSide", "x-3-2=0", "-", 1, "11 (-3)+!(-2)", "-5", "x-5=0", "-"},
    {"EquationNumberFirst", "10-3-2=x", "-", 1, "11 (-3)+!(-2)", "-5", "10-5=x", "="},
    {"AfterAProduct", "2*x-3-4=7", "-", 1, "11 (-3)+!(-4)", "-7", "2*x-7=7", "*"},
    {"MiddleOfALongerSum", "x-2-3-4=0", "-", 1, "11 (-2)+!(-3)", "-5", "x-5-4=0", "-"},
    {"PlusAfterANegatedTerm", "x-3+2=0", "+", 0, "10 (-3)+!2", "-1", "x-1=0", "="},
    {"SystemLine", "@system$x-3-2=y$x+y=1#", "-", 1, "11 (-3)+!(-2)", "-5", "@system$x-5=y$x+y=1#", "+"},
    {"SumAtTheStart", "-3-2=x", "-", 1, "11 (-3)+!(-2)", "-5", "-5=x", "="},
    {"PlusThenMinus", "x+3-5=0", "-", 0, "11 3+!(-5)", "-2", "x-2=0", "="},
    {"PositiveResultInASum", "x+3+2=0", "+", 1, "10 3+!2", "5", "x+5=0", "="},
    {"Product", "2*3*x=6", "*", 0, "12 2*!3", "6", "6*x=6", "="},
    {"ProductAfterAMinus", "x-2*3*4=0", "*", 0, "12 2*!3", "6", "x-6*4=0", "="},
    {"Fraction", "@hor_frac$x-3-2$4#=1", "-", 1, "11 (-3)+!(-2)", "-5", "@hor_frac$x-5$4#=1", "="},
    {"PositiveResultInAFraction", "@hor_frac$x+3+2$4#=1", "+", 1, "10 3+!2", "5", "@hor_frac$x+5$4#=1", "="},
    {"Brackets", "2*@br_row_round$x-3-2#=6", "-", 1, "11 (-3)+!(-2)", "-5", "2*@br_row_round$x-5#=6", "="},
    {"IntervalEnd", "x@spec$blng#@interval$0$1$1-3-2$5#", "-", 1, "11 (-3)+!(-2)", "-5",
     "x@spec$blng#@interval$0$1$1-5$5#", "-"},
};

INSTANTIATE_TEST_SUITE_P(FormulaRoad, KernelResults, ::testing::ValuesIn(kKernelResultCases),
                         [](const ::testing::TestParamInfo<KernelResultCase>& info) { return info.param.name; });

}  // namespace
}  // namespace solvehost
