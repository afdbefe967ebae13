// The scripted solutions through the kernel binding, on the stage's rule
// files: each request is built from the guide item's flags as Stepwell
// builds it, each reply must be the expected step and give an operation
// tree, and each solution ends with an accepted final answer.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"
#include "formula/optree/operation_tree.h"
#include "formula/tests/formula_test_util.h"
#include "module_data.h"
#include "platform/message_box.h"
#include "platform/xml.h"
#include "roundtrip_support.h"
#include "solvehost/solve_kernel.h"
#include "task_scripts.h"
#include "testsupport/temp_dir.h"

namespace moduledata {
namespace {

namespace fs = std::filesystem;
using kerneltest::normalisedText;
using kerneltest::readReply;
using kerneltest::writeAplan;

// The vertex code of the node a pupil clicks to pick a part: its topmost
// operation.
int vertexOf(const std::string& lexemText)
{
    auto root = formula::test::Read(lexemText);
    formula::ParseContext context;
    root->Normalize(context);
    auto tree = formula::BuildFormulaTree(*root);
    if (!tree)
        return -1;
    const formula::COperationNode* node = tree.get();
    while (node->ChildCount() > 0 &&
           (node->IsRowRoot() || node->IsGroup() || node->Lexeme() == root.get()))
        node = node->Child(0);
    return formula::VertexCode(node);
}

const GuideItem* findItem(const Guide& guide, const std::string& guid)
{
    for (const GuideItem* item : guide.items())
        if (item->guid == guid)
            return item;
    return nullptr;
}

// The job a script solves, or null.
const TaskJob* jobOf(const std::vector<TaskJob>& jobs, const Script& script)
{
    const auto job = std::find_if(jobs.begin(), jobs.end(), [&](const TaskJob& j) {
        return j.page == script.page && j.task == script.task && j.job == script.job;
    });
    return job == jobs.end() ? nullptr : &*job;
}

// The job's own formula, as the condition viewer hands it over (the hidden
// one of a begin-dialog job).
std::string firstFormula(const TaskJob& job)
{
    return comparable(job.checkType.empty() ? job.start : job.hidden);
}

// The whole formula after a step's result: the result in place of the
// selection, or the new whole formula.
std::string afterStep(const std::string& whole, const std::string& selection, const std::string& result,
                      bool wholeFormula)
{
    if (wholeFormula)
        return comparable(result);
    const auto at = whole.find(selection);
    EXPECT_NE(at, std::string::npos) << selection << " in " << whole;
    if (at == std::string::npos)
        return whole;
    return whole.substr(0, at) + comparable(result) + whole.substr(at + selection.size());
}

// The formula a script's answer check takes: its steps' results applied
// one after another to the first formula.
std::string scriptedAnswer(const Script& script, const Guide& guide, const std::string& first)
{
    std::string whole = first;
    for (const ScriptStep& step : script.steps) {
        const GuideItem* item = findItem(guide, step.item);
        if (!item || item->type != 1)
            continue;
        const std::string selection = step.selection.empty() ? whole : comparable(step.selection);
        whole = afterStep(whole, selection, step.reply, item->needAllExpr);
    }
    return whole;
}

// A started Stepwell kernel through the suite's binding.
class KernelScripts : public ::testing::Test {
protected:
    void SetUp() override
    {
        installStage();
        platform::setMessageRecorder(&m_messages);
        m_oldDir = fs::current_path();
        fs::current_path(m_workDir.path());
        m_kernel.InitKernel();
        m_solver.InitKernel();
        ASSERT_TRUE(m_messages.messages.empty()) << m_messages.messages.front().text;
    }
    void TearDown() override
    {
        fs::current_path(m_oldDir);
        platform::setMessageRecorder(nullptr);
    }

    // The reply, or "\"NORES\"" / "<no reply>".
    std::string ask(int code, const std::string& request) { return ask(m_kernel, code, request); }
    static std::string ask(solvehost::CKernelFuncMgr& kernel, int code, const std::string& request)
    {
        std::string out = "<no reply>";
        kernel.CallKernel(code, request, out);
        return out;
    }

    platform::MessageRecorder m_messages;
    testsupport::TempDir m_workDir;
    fs::path m_oldDir;
    solvehost::CKernelFuncMgr m_kernel{"stepwell.clew"};
    // The solver's kernel (Reckonry's rule file).
    solvehost::CKernelFuncMgr m_solver{"reckonry.clew"};
};

TEST_F(KernelScripts, EveryScriptSolvesItsTask)
{
    const Guide guide = loadGuide(modulePath("lang/ua/guide/stepwell.xml"));
    for (const Script& script : taskScripts()) {
        SCOPED_TRACE(script.page + " task " + std::to_string(script.task) + " job " + std::to_string(script.job));
        const auto jobs = taskJobs();
        const TaskJob* job = jobOf(jobs, script);
        ASSERT_NE(job, nullptr);
        const std::string first = firstFormula(*job);
        std::string whole = first;
        ASSERT_FALSE(script.steps.empty());
        EXPECT_EQ(script.steps.back().item, "sw-ch9-1372");
        EXPECT_EQ(script.steps.back().reply, "2");
        for (const ScriptStep& step : script.steps) {
            SCOPED_TRACE(step.item + " on \"" + step.selection + "\" in \"" + whole + "\"");
            if (step.item == "2101")
                continue;
            const GuideItem* item = findItem(guide, step.item);
            ASSERT_NE(item, nullptr);
            const std::string selection = step.selection.empty() ? whole : comparable(step.selection);
            if (item->type == 3) {
                if (item->aplan == 1371)
                    continue;
                EXPECT_EQ(ask(item->aplan, "(" + writeAplan(selection) + "),(" + writeAplan(first) + ")"), step.reply);
                EXPECT_EQ(ask(item->aplan, "(" + writeAplan(script.wrongAnswer) + "),(" + writeAplan(first) + ")"), "0");
                continue;
            }
            if (item->view == 1 && item->aplan != 5351) {
                const int vertex = vertexOf(selection);
                bool signed_ = false;
                for (const GuideFormula& f : item->formulas)
                    signed_ |= f.sign1 == vertex || f.sign2 == vertex;
                EXPECT_TRUE(signed_) << "vertex " << vertex;
            }
            std::string request = "(" + writeAplan(selection) + ")";
            if (item->needAllExpr)
                request = "(" + writeAplan(whole) + ")," + request;
            if (item->choice)
                request = "(1)," + request;
            if (item->needDialog)
                request += ",(" + writeAplan(step.entered) + ")";
            const std::string reply = ask(item->aplan, request);
            if (item->type == 2) {
                EXPECT_EQ(reply, step.reply) << request;
                continue;
            }
            const std::string replyText = readReply(reply);
            EXPECT_EQ(replyText, step.reply) << request << " -> " << reply;
            EXPECT_TRUE(kerneltest::buildsOperationTree(replyText));
            whole = afterStep(whole, selection, replyText, item->needAllExpr);
            EXPECT_TRUE(kerneltest::buildsOperationTree(whole)) << whole;
        }
    }
}

// Every job of the task book as the solver takes it: Reckonry answers it
// (2001 an equation, system or inequality; 2003 an expression the script
// factors; 2002 any other expression), and its answer and the script's are
// right and final for the answer check, one an equivalent step of the
// other; the job's formula handed back untouched is right but not final.
TEST_F(KernelScripts, EveryJobIsSolvedAndOnlyItsAnswersAreFinal)
{
    const Guide guide = loadGuide(modulePath("lang/ua/guide/stepwell.xml"));
    const auto jobs = taskJobs();
    for (const Script& script : taskScripts()) {
        SCOPED_TRACE(script.page + " task " + std::to_string(script.task) + " job " + std::to_string(script.job));
        const TaskJob* job = jobOf(jobs, script);
        ASSERT_NE(job, nullptr);
        const std::string first = firstFormula(*job);
        const bool factored = std::any_of(script.steps.begin(), script.steps.end(), [&](const ScriptStep& step) {
            const GuideItem* item = findItem(guide, step.item);
            return item && (item->aplan == 103 || item->aplan == 104);
        });
        const int code = job->type != "expression" ? 2001 : factored ? 2003 : 2002;
        const std::string reply = ask(m_solver, code, writeAplan(first));
        ASSERT_NE(reply, solvehost::kNoResult) << code << " " << first;
        const std::string solved = comparable(readReply(reply));
        const std::string stored = scriptedAnswer(script, guide, first);
        SCOPED_TRACE(first + ": solver " + solved + ", script " + stored);
        for (const std::string& answer : {solved, stored})
            EXPECT_EQ(ask(1372, "(" + writeAplan(answer) + "),(" + writeAplan(first) + ")"), "2") << answer;
        EXPECT_NE(ask(5351, "(" + writeAplan(stored) + "),(" + writeAplan(solved) + ")"), solvehost::kNoResult);
        EXPECT_EQ(ask(1372, "(" + writeAplan(first) + "),(" + writeAplan(first) + ")"), "1");
    }
}

// Every transformation of Stepwell's guide is used by some solution.
TEST_F(KernelScripts, EveryGuideCodeIsUsed)
{
    const Guide guide = loadGuide(modulePath("lang/ua/guide/stepwell.xml"));
    std::set<int> used;
    for (const Script& script : taskScripts())
        for (const ScriptStep& step : script.steps)
            if (const GuideItem* item = findItem(guide, step.item))
                used.insert(item->aplan);
    std::set<int> offered;
    for (const GuideItem* item : guide.items())
        offered.insert(item->aplan);
    EXPECT_EQ(used, offered);
}

// The begin dialog's check: with the hidden formula or with the answer as
// the reference, the hidden formula and a rewriting of it are accepted (and
// come back as the first step), a wrong one is refused.
TEST_F(KernelScripts, BeginDialogAcceptsEquivalentStarts)
{
    int dialogs = 0;
    for (const TaskJob& job : taskJobs()) {
        if (job.checkType.empty())
            continue;
        SCOPED_TRACE(job.page + " task " + std::to_string(job.task));
        ++dialogs;
        const auto script = std::find_if(taskScripts().begin(), taskScripts().end(), [&](const Script& s) {
            return s.page == job.page && s.task == job.task && s.job == job.job;
        });
        ASSERT_NE(script, taskScripts().end());
        ASSERT_EQ(script->steps.front().item, "2101");
        for (const std::string& reference : {job.hidden, job.answer}) {
            for (const std::string& entered : {job.hidden, script->rewriting}) {
                const std::string reply = ask(2101, "(" + writeAplan(reference) + "),(" + writeAplan(entered) + ")");
                EXPECT_EQ(comparable(readReply(reply)), comparable(entered)) << reply;
            }
            EXPECT_EQ(ask(2101, "(" + writeAplan(reference) + "),(" + writeAplan(script->wrongStart) + ")"),
                      solvehost::kNoResult);
        }
    }
    EXPECT_EQ(dialogs, 3);
}

// The number axis: each inequality's start gives one interval in the named
// fields that Stepwell reads.
TEST_F(KernelScripts, InequalitiesGiveOneInterval)
{
    const auto field = [](const std::string& reply, const std::string& name) -> std::optional<std::string> {
        const auto at = reply.find(name + " ={");
        if (at == std::string::npos)
            return std::nullopt;
        const auto end = reply.find('}', at);
        return reply.substr(at + name.size() + 3, end - at - name.size() - 3);
    };
    int inequalities = 0;
    for (const TaskJob& job : taskJobs()) {
        if (job.type != "inequality")
            continue;
        SCOPED_TRACE(job.start);
        ++inequalities;
        const std::string reply = ask(1035, "(" + writeAplan(job.start) + ")");
        for (const char* name : {"left", "right", "xr", "yr"})
            EXPECT_TRUE(field(reply, name)) << name << " in " << reply;
        const bool open = reply.find("MinusInfSet") != std::string::npos || reply.find("PlusInfSet") != std::string::npos;
        EXPECT_TRUE(open) << reply;
    }
    EXPECT_GE(inequalities, 3);
}

// A saved solution: each step is an accepted own step from the one before.
TEST_F(KernelScripts, SavedSolutionStepsFollowEachOther)
{
    namespace xml = platform::xml;
    const xml::Document saved = xml::Document::loadFile(modulePath("libalgt/tasks/task_2.xml"));
    const auto steps = xml::selectList(*saved.root(), "SOLUTION/STEP/EXPR/*[local-name()='math']");
    ASSERT_GE(steps.size(), 3u);
    for (std::size_t i = 1; i < steps.size(); ++i) {
        const std::string before = lexemTextOf(steps[i - 1].xml());
        const std::string after = lexemTextOf(steps[i].xml());
        SCOPED_TRACE(before + " -> " + after);
        const std::string reply = ask(5351, "(" + writeAplan(before) + "),(" + writeAplan(after) + ")");
        EXPECT_EQ(comparable(readReply(reply)), comparable(after)) << reply;
    }
}

// The solver's guide: each item answers a sample condition (the request is
// the condition itself).
TEST(ReckonryKernel, EveryItemAnswersASample)
{
    installStage();
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    testsupport::TempDir workDir;
    const fs::path oldDir = fs::current_path();
    fs::current_path(workDir.path());
    solvehost::CKernelFuncMgr kernel("reckonry.clew");
    kernel.InitKernel();
    const std::map<int, std::pair<std::string, std::string>> samples = {
        {2001, {"2*x+3=7", "x=2"}},
        {2002, {"2*x+3*x-x", "4*x"}},
        {2003, {"@index_up$x$2#-9", "(x+3)*(x-3)"}},
    };
    const Guide guide = loadGuide(modulePath("lang/ua/reckonry/reckonry.xml"));
    for (const GuideItem* item : guide.items()) {
        SCOPED_TRACE(item->name);
        ASSERT_TRUE(samples.count(item->aplan));
        std::string reply;
        EXPECT_TRUE(kernel.CallKernel(item->aplan, writeAplan(samples.at(item->aplan).first), reply));
        EXPECT_EQ(readReply(reply), samples.at(item->aplan).second);
    }
    fs::current_path(oldDir);
    platform::setMessageRecorder(nullptr);
    EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace moduledata
