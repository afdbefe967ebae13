// The task book pages and the saved tasks: every task as the condition
// viewer, Stepwell and the lesson constructor read it, and every formula
// usable by the formula control.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "module_data.h"
#include "platform/xml.h"
#include "task_scripts.h"

namespace moduledata {
namespace {

namespace xml = platform::xml;

bool decimal(const std::string& text)
{
    return !text.empty() && text.size() < 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> elementNames(const xml::Node& node)
{
    std::vector<std::string> names;
    for (const xml::Node& child : node.childNodes())
        names.push_back(child.type() == xml::NodeType::Element ? child.name() : "#" + child.text());
    return names;
}

// No line feed or tab in any text and no text of white space alone: the
// task reader drops them, the viewer keeps them and the dealing of jobs
// counts child nodes. No text goes on from a formula with a punctuation
// mark: the viewer sets it beside the formula's middle, where "." reads
// as a multiplication dot.
void checkTexts(const xml::Node& node)
{
    bool afterFormula = false;
    for (const xml::Node& child : node.childNodes()) {
        if (child.type() == xml::NodeType::Text) {
            const std::string text = child.text();
            EXPECT_EQ(text.find_first_of("\n\t\r"), std::string::npos) << text;
            EXPECT_NE(text.find_first_not_of(' '), std::string::npos) << "white space alone in " << node.name();
            if (afterFormula)
                EXPECT_EQ(std::string(".,;:!?").find(text.front()), std::string::npos) << "after a formula: " << text;
        } else if (child.type() == xml::NodeType::Element) {
            checkTexts(child);
        }
        afterFormula = child.type() == xml::NodeType::Element &&
                       (child.name() == "FORMULA" || child.name() == "FORMULALINK" || child.localName() == "math");
    }
}

void checkFormula(const xml::Node& holder)
{
    const auto math = xml::childElementsByLocalName(holder, "math");
    ASSERT_EQ(math.size(), 1u) << holder.xml();
    ASSERT_EQ(holder.childNodes().size(), 1u) << holder.xml();
    EXPECT_TRUE(usableFormula(lexemTextOf(math[0].xml())));
}

std::map<std::string, std::string> taskTypeCheckTypes()
{
    const xml::Document config = xml::Document::loadFile(modulePath("lang/ua/stepwellcfg.xml"));
    std::map<std::string, std::string> types;
    for (const xml::Node& type : xml::selectList(*config.root(), "/CONFIG/TASKTYPES/TASKTYPE"))
        types[type.attribute("id").value_or("")] = type.attribute("checkType").value_or("");
    return types;
}

// One TASK by the rules of the task document and its readers; the job ids
// seen so far in its page.
void checkTask(const xml::Node& task, std::set<std::string>& jobIds)
{
    static const std::map<std::string, std::string> types = taskTypeCheckTypes();
    const std::string id = task.attribute("id").value_or("");
    SCOPED_TRACE("TASK " + id);
    EXPECT_TRUE(decimal(id));
    ASSERT_TRUE(types.count(task.attribute("type").value_or(""))) << task.attribute("type").value_or("");
    EXPECT_FALSE(task.attribute("title").value_or("").empty());
    ASSERT_TRUE(task.attribute("num"));
    // The dealing of jobs takes the first num=" of the task's text.
    const std::string text = task.xml();
    EXPECT_LT(text.find("num=\""), text.find('>'));
    checkTexts(task);

    const auto condition = xml::selectSingle(task, "CONDITION");
    ASSERT_TRUE(condition);
    const std::vector<std::string> parts = elementNames(*condition);
    const bool stored = parts.size() == 3;
    const std::vector<std::string> order = stored ? std::vector<std::string>{"TEXT", "FSTORAGE", "JOBSLIST"}
                                                  : std::vector<std::string>{"TEXT", "JOBSLIST"};
    EXPECT_EQ(parts, order);
    for (const xml::Node& part : xml::selectSingle(*condition, "TEXT")->childNodes()) {
        if (part.type() == xml::NodeType::Element) {
            EXPECT_EQ(part.name(), "FORMULA");
            checkFormula(part);
        }
    }
    if (stored) {
        for (const xml::Node& formula : xml::selectSingle(*condition, "FSTORAGE")->childNodes()) {
            EXPECT_EQ(formula.name(), "FORMULA");
            EXPECT_TRUE(decimal(formula.attribute("id").value_or("")));
            checkFormula(formula);
        }
    }
    const auto jobs = xml::selectList(*condition, "JOBSLIST/*");
    ASSERT_FALSE(jobs.empty());
    for (const xml::Node& job : jobs) {
        const std::string jobId = job.attribute("id").value_or("");
        SCOPED_TRACE("JOB " + jobId);
        EXPECT_EQ(job.name(), "JOB");
        EXPECT_TRUE(decimal(jobId));
        EXPECT_TRUE(jobIds.insert(jobId).second) << "job id used twice in the page";
        EXPECT_EQ(job.attribute("asTask"), "yes");
        const auto checkType = job.attribute("checkType");
        if (!checkType) {
            ASSERT_EQ(elementNames(job), std::vector<std::string>{"FORMULA"});
            checkFormula(job.children()[0]);
            continue;
        }
        // A job begun in the dialog: the whole task is sent for it.
        EXPECT_EQ(jobs.size(), 1u);
        EXPECT_EQ(job.attribute("check"), "yes");
        EXPECT_FALSE(job.attribute("animResource").value_or("").empty());
        const std::string effective = *checkType == "fromType" ? types.at(task.attribute("type").value_or("")) : *checkType;
        EXPECT_EQ(effective, "hidans");
        if (*checkType == "hidans") {
            EXPECT_EQ(job.attribute("aplan"), "2101");
        }
        EXPECT_EQ(elementNames(job), (std::vector<std::string>{"HIDDENFORMULA", "ANSWER"}));
        for (const char* role : {"HIDDENFORMULA", "ANSWER"}) {
            const auto link = xml::selectSingle(job, role);
            ASSERT_TRUE(link);
            EXPECT_TRUE(xml::selectSingle(*condition, "FSTORAGE/FORMULA[@id=$id]/*[local-name()='math']",
                                          {{"id", link->attribute("id").value_or("-")}}))
                << role;
        }
    }
}

TEST(TaskPages, EveryTaskKeepsTheRules)
{
    std::map<std::string, int> perType;
    int multiJob = 0;
    int systemProblems = 0;
    int equationProblems = 0;
    for (const std::string& page : taskPages()) {
        SCOPED_TRACE(page);
        std::ifstream file(modulePath("lang/ua/taskbook/doc/" + page));
        std::stringstream text;
        text << file.rdbuf();
        EXPECT_NE(text.str().find("<?xml-stylesheet type=\"text/xsl\" "
                                  "href=\"../../../../../../kernel/data/common/taskbook/taskbook.v1.xslt\"?>"),
                  std::string::npos);
        const xml::Document document = xml::Document::loadText(text.str(), {true}, page);
        ASSERT_EQ(document.root()->name(), "Book");
        checkTexts(*document.root());
        std::set<std::string> taskIds;
        std::set<std::string> jobIds;
        for (const xml::Node& section : document.root()->childNodes()) {
            ASSERT_EQ(section.name(), "SECTION");
            EXPECT_FALSE(section.attribute("title").value_or("").empty());
            for (const xml::Node& task : section.childNodes()) {
                ASSERT_EQ(task.name(), "TASK");
                EXPECT_TRUE(taskIds.insert(task.attribute("id").value_or("")).second);
                checkTask(task, jobIds);
                ++perType[task.attribute("type").value_or("")];
                const auto jobs = xml::selectList(task, "CONDITION/JOBSLIST/JOB");
                multiJob += jobs.size() > 1;
                const std::string checkType = jobs[0].attribute("checkType").value_or("");
                if (checkType == "hidans" && xml::selectSingle(task, "CONDITION/FSTORAGE/FORMULA[@id=$id]",
                                                                {{"id", xml::selectSingle(jobs[0], "HIDDENFORMULA")
                                                                            ->attribute("id").value_or("")}})
                                                 ->xml().find("<mtable>") != std::string::npos)
                    ++systemProblems;
                if (checkType == "fromType" && task.attribute("type") == "textequation")
                    ++equationProblems;
            }
        }
    }
    EXPECT_EQ(perType.size(), 7u);
    for (const auto& [type, count] : perType)
        EXPECT_GE(count, 3) << type;
    EXPECT_GE(multiJob, 1);
    EXPECT_GE(systemProblems, 1);
    EXPECT_GE(equationProblems, 1);
}

// What a pupil receives of a multi-job task: the task's head with the
// number "N.k", one job, and the formula store; and what Stepwell receives
// for one job picked on a lesson page.
TEST(TaskPages, DealtJobsStandAlone)
{
    int dealt = 0;
    for (const std::string& page : taskPages()) {
        SCOPED_TRACE(page);
        const xml::Document document = xml::Document::loadFile(modulePath("lang/ua/taskbook/doc/" + page));
        for (const xml::Node& task : xml::selectList(*document.root(), "//TASK")) {
            const auto list = xml::selectSingle(task, "CONDITION//JOBSLIST");
            const std::size_t n = list->childNodes().size();
            const std::string whole = task.xml();
            const std::string x = whole.substr(0, whole.find("<JOB "));
            const auto p = x.find("num=\"") + 5;
            const auto q = x.find('"', p);
            const std::string number = x.substr(p, q - p);
            const auto store = xml::selectSingle(task, "CONDITION//FSTORAGE");
            const std::string f = store ? store->xml() : "";
            if (n > 1) {
                for (std::size_t k = 0; k < n; ++k) {
                    SCOPED_TRACE("drawn " + std::to_string(k));
                    const std::string text = x.substr(0, p) + number + "." + std::to_string(k) + x.substr(q) +
                                             list->childNodes()[k].xml() + f + "</JOBSLIST></CONDITION></TASK>";
                    const xml::Document one = xml::Document::loadText(text, {true});
                    EXPECT_EQ(one.root()->attribute("num"), number + "." + std::to_string(k));
                    std::set<std::string> ids;
                    checkTask(*one.root(), ids);
                    EXPECT_EQ(ids.size(), 1u);
                    ++dealt;
                }
            }
            for (const xml::Node& job : list->children()) {
                if (job.attribute("checkType"))
                    continue;
                // The one-job copy keeps the first child of CONDITION and of JOB.
                xml::Document copy;
                const xml::Node root = copy.node().appendChild(copy.createElement("TASK"));
                for (const auto& attribute : task.attributes())
                    root.setAttribute(attribute.name, attribute.value);
                const xml::Node condition = root.appendChild(copy.createElement("CONDITION"));
                condition.appendChild(copy.importNode(xml::selectSingle(task, "CONDITION")->childNodes()[0]));
                const xml::Node jobs = condition.appendChild(copy.createElement("JOBSLIST"));
                const xml::Node one = jobs.appendChild(copy.createElement("JOB"));
                for (const auto& attribute : job.attributes())
                    one.setAttribute(attribute.name, attribute.value);
                one.appendChild(copy.importNode(job.childNodes()[0]));
                std::set<std::string> ids;
                checkTask(*copy.root(), ids);
            }
        }
    }
    EXPECT_GE(dealt, 3);
}

// Every job has its scripted solution, which starts from the job's formula.
TEST(TaskPages, EveryJobHasItsScript)
{
    std::set<std::tuple<std::string, int, int>> scripted;
    for (const Script& script : taskScripts())
        scripted.insert({script.page, script.task, script.job});
    std::size_t jobs = 0;
    for (const TaskJob& job : taskJobs()) {
        SCOPED_TRACE(job.page + " " + std::to_string(job.task) + "/" + std::to_string(job.job));
        ++jobs;
        const auto found = std::find_if(taskScripts().begin(), taskScripts().end(), [&](const Script& s) {
            return s.page == job.page && s.task == job.task && s.job == job.job;
        });
        ASSERT_NE(found, taskScripts().end()) << "no scripted solution";
        EXPECT_EQ(comparable(found->start), comparable(job.checkType.empty() ? job.start : job.hidden));
    }
    EXPECT_EQ(jobs, scripted.size());
}

TEST(SavedTasks, WrittenAsStepwellSavesThem)
{
    for (const char* name : {"task_1.xml", "task_2.xml"}) {
        SCOPED_TRACE(name);
        std::ifstream file(modulePath(std::string("libalgt/tasks/") + name));
        std::stringstream text;
        text << file.rdbuf();
        EXPECT_EQ(text.str().rfind("<?xml version='1.0'?>\n<?xml-stylesheet type=\"text/xsl\" href=\"task.xslt\"?>\n<TASK ",
                                   0),
                  0u);
        const xml::Document document = xml::Document::loadText(text.str(), {true}, name);
        ASSERT_EQ(document.root()->name(), "TASK");
        std::set<std::string> ids;
        const auto solution = xml::selectSingle(*document.root(), "SOLUTION");
        if (solution)
            document.root()->removeChild(*solution);
        checkTask(*document.root(), ids);
    }
    const xml::Document saved = xml::Document::loadFile(modulePath("libalgt/tasks/task_2.xml"));
    const auto steps = xml::selectList(*saved.root(), "SOLUTION/STEP");
    ASSERT_GE(steps.size(), 3u);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const xml::Node& step = steps[i];
        SCOPED_TRACE(step.xml());
        EXPECT_EQ(step.attribute("id"), std::to_string(i + 1));
        const std::string type = step.attribute("type").value_or("");
        EXPECT_TRUE(type == "single" || type == "double" || type == "answer");
        EXPECT_TRUE(step.attribute("result") && step.attribute("executor"));
        const std::vector<std::string> expected = type == "double"
                                                      ? std::vector<std::string>{"DESCRIPTION", "USERTR", "RECEIVE", "EXPR"}
                                                      : std::vector<std::string>{"DESCRIPTION", "EXPR"};
        EXPECT_EQ(elementNames(step), expected);
        checkFormula(*xml::selectSingle(step, "EXPR"));
        if (type == "double")
            checkFormula(*xml::selectSingle(step, "USERTR"));
    }
    EXPECT_EQ(steps.back().attribute("type"), "answer");
}

}  // namespace
}  // namespace moduledata
