#pragma once
// The sample teaching module as the suite's readers see it, on the staged
// install tree: paths, the guide loaded with the loader's rules (a reader
// that refuses what the guide control would misread), the rule files'
// codes, and the formula checks every shipped formula must pass.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace moduledata {

// The stage's root with a final "/", and paths below it.
std::string stageRoot();
std::string stagePath(const std::string& relative);
std::string modulePath(const std::string& relative);  // below modules/tessaly/

// Points the machine hive's InstallPath at the stage (the test binaries run
// with temporary hives).
void installStage();

struct GuideFormula {
    std::string text;  // LexemText
    int sign1 = 0;
    int sign2 = 0;
};

struct GuideItem {
    std::string guid;
    int view = 0;
    int type = 0;
    int aplan = 0;
    bool needDialog = false;
    bool needAllExpr = false;
    std::string name, action, howtodo, mathexpl, howToDoExtended;
    bool choice = false;  // FORMULAS oneForm="0"
    std::vector<GuideFormula> formulas;
    std::string graph;  // GraphTaskXml of a graph item
};

struct GuideGroup {
    std::string guid;
    std::string name;
    std::vector<GuideItem> items;
};

struct GuideChapter {
    int id = 0;
    std::string guid;
    std::string name;
    std::string tabName;
    std::vector<GuideGroup> groups;
};

struct Guide {
    std::vector<GuideChapter> chapters;  // sorted by id
    // Every item of every chapter, in chapter and list order.
    std::vector<const GuideItem*> items() const;
    const GuideChapter* chapter(int id) const;
};

// Loads a guide file with its chapter pairs through the suite's SAX reader,
// applying the guide control's reading rules and the stricter rules the
// shipped data keeps (see module_data.cpp). Throws std::runtime_error with
// the file and the reason on the first violation.
Guide loadGuide(const std::string& guideFile);

// The codes of a rule file ("stepwell.clew").
std::set<int> ruleCodes(const std::string& ruleFile);

// A GuideContentString as the guide control scans it: version, chapter ids
// text, answer codes (each closed by ";"). Empty optional parts when a
// marker is missing.
struct GuideContent {
    bool hasVersion = false;
    std::string version;
    bool hasChapters = false;
    std::string chapters;
    bool hasAnswers = false;
    std::vector<int> answers;
};
GuideContent scanGuideContent(const std::string& content);

// A formula as the control takes it: it reads, normalises, builds an
// operation tree and writes complete Aplan text.
::testing::AssertionResult usableFormula(const std::string& lexemText);

}  // namespace moduledata

namespace moduledata {

// The task book pages (file names below taskbook/doc/), in name order.
std::vector<std::string> taskPages();

// A formula of a page as lexeme text, read from its MathML "math" element.
std::string lexemTextOf(const std::string& mathml);

// One job of a task book page, as Stepwell would begin it.
struct TaskJob {
    std::string page;
    int task = 0;
    int job = 0;
    std::string type;       // the task's type
    std::string checkType;  // empty for a job that carries its start formula
    std::string start;      // lexeme text of the job's FORMULA
    std::string hidden;     // HIDDENFORMULA and ANSWER of a begin-dialog job
    std::string answer;
};
std::vector<TaskJob> taskJobs();

// A formula as the control keeps it, with round brackets read from MathML
// (kept by the reader) and typed ones (removable) alike: scripts compare
// and substitute parts in this form.
std::string comparable(const std::string& lexemText);

}  // namespace moduledata
