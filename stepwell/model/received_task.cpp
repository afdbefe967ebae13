#include "stepwell/model/received_task.h"

#include <climits>
#include <exception>

#include "platform/xml.h"
#include "stepwell/model/solution_xml.h"

namespace stepwell {

namespace {

namespace xml = platform::xml;

constexpr std::string_view kTaskOpen = "<TASK ";
constexpr std::string_view kConditionClose = "</CONDITION>";
constexpr std::string_view kSolutionOpen = "<SOLUTION>";
constexpr std::string_view kSolutionClose = "</SOLUTION>";

// The characters a sender's formatting puts between elements: removed before
// the cut so that "\r\n" and tabs inside formulas change nothing.
std::string removeFormatting(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\n' || c == '\t' || c == '\r')
            continue;
        if (c == '\xAC' && !out.empty() && out.back() == '\xC2') {
            // U+00AC NOT SIGN, also one that the removal itself brought together
            out.pop_back();
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::optional<xml::Node> firstMath(const xml::Node& node)
{
    const std::vector<xml::Node> found = xml::childElementsByLocalName(node, "math");
    if (found.empty())
        return std::nullopt;
    return found.front();
}

// Reads the task's formulas in the order the condition viewer shows them.
class TaskFormulaReader {
public:
    explicit TaskFormulaReader(const xml::Node& root) : m_root(root) {}

    bool readStatement(std::vector<std::string>& formulas) const
    {
        if (const std::optional<xml::Node> text = xml::selectSingle(m_root, "CONDITION/TEXT"))
            for (const xml::Node& node : text->childNodes())
                if (!readNode(node, true, formulas))
                    return false;
        const std::optional<xml::Node> job = xml::selectSingle(m_root, "CONDITION/JOBSLIST/JOB[@asTask='yes']");
        if (!job)
            return true;
        for (const xml::Node& node : job->childNodes())
            if (!readNode(node, false, formulas))
                return false;
        // The job's formulas by reference: its start and the begin dialog's.
        for (const xml::Node& child : job->children()) {
            const std::string name = child.name();
            if (name != "START" && name != "HIDDENFORMULA" && name != "ANSWER")
                continue;
            if (const std::optional<std::string> id = child.attribute("id"))
                if (!stored(*id, formulas))
                    return false;
        }
        return true;
    }

private:
    bool stored(const std::string& id, std::vector<std::string>& formulas) const
    {
        const std::optional<xml::Node> formula =
            xml::selectSingle(m_root, "CONDITION/FSTORAGE/FORMULA[@id=$id]", {{"id", id}});
        const std::optional<xml::Node> math = formula ? firstMath(*formula) : std::nullopt;
        if (!math)
            return false;
        formulas.push_back(math->xml());
        return true;
    }

    bool readNode(const xml::Node& node, bool mathAllowed, std::vector<std::string>& formulas) const
    {
        if (node.type() != xml::NodeType::Element)
            return true;
        const std::string name = node.name();
        if (name == "FORMULALINK") {
            const std::optional<std::string> id = node.attribute("id");
            return !id || stored(*id, formulas);
        }
        if (name == "FORMULA") {
            const std::optional<xml::Node> math = firstMath(node);
            if (!math)
                return false;
            formulas.push_back(math->xml());
            return true;
        }
        if (mathAllowed && node.localName() == "math")
            formulas.push_back(node.xml());
        return true;
    }

    xml::Node m_root;
};

}  // namespace

std::optional<ReceivedTask> ReadReceivedTask(std::string_view text)
{
    std::optional<ReceivedTask> task = CutReceivedText(text);
    if (!task)
        return std::nullopt;
    try {
        const xml::Document document =
            xml::Document::loadText(task->task, xml::LoadOptions{.preserveWhiteSpace = true});
        const std::optional<xml::Node> root = document.root();
        if (!root || root->name() != "TASK" || !xml::selectSingle(*root, "CONDITION"))
            return std::nullopt;
        if (!TaskFormulaReader(*root).readStatement(task->formulas))
            return std::nullopt;
        if (!task->solution.empty()) {
            // Every step holds its formula.
            for (const StepRecord& step : ReadSolution(task->solution)) {
                if (step.formula.empty())
                    return std::nullopt;
                if (!step.transformation.empty())
                    task->formulas.push_back(step.transformation);
                task->formulas.push_back(step.formula);
            }
        }
    } catch (const std::exception&) {
        return std::nullopt;  // not well-formed, or a query that fails on it
    }
    return task;
}

std::optional<ReceivedTask> CutReceivedText(std::string_view text)
{
    const std::string clean = removeFormatting(text);
    const std::size_t task = clean.find(kTaskOpen);
    const std::size_t condition = clean.find(kConditionClose);
    if (task == std::string::npos || condition == std::string::npos || condition < task)
        return std::nullopt;
    const std::size_t conditionEnd = condition + kConditionClose.size();

    ReceivedTask result;
    result.task = clean.substr(task, conditionEnd - task) + "</TASK>";
    const std::size_t solution = clean.find(kSolutionOpen, conditionEnd);
    if (solution != std::string::npos) {
        const std::size_t close = clean.find(kSolutionClose, solution);
        if (close != std::string::npos)
            result.solution = clean.substr(solution, close + kSolutionClose.size() - solution);
    }
    return result;
}

std::optional<std::string> ReadTaskType(std::string_view taskText)
{
    constexpr std::string_view kType = " type=\"";
    const std::size_t at = taskText.find(kType);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::size_t begin = at + kType.size();
    const std::size_t end = taskText.find('"', begin);
    if (end == std::string_view::npos)
        return std::nullopt;
    return std::string(taskText.substr(begin, end - begin));
}

int ParseDecimal(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;  // clamp; keeps reading the digits
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value < INT_MIN ? INT_MIN : value);
}

}  // namespace stepwell
