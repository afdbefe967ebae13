#pragma once
// The task document: the received task text with the pupil's solution, one
// STEP element per step, and the reading of a saved solution back into steps.
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

// The kinds of a solution step, as they are numbered in the program.
enum class StepKind { Single = 1, Double = 2, Answer = 3 };

// What a step writes and what a saved step gives back. Formulas are MathML
// texts; a description is plain text in which "<math ...>...</math>" stands
// for a formula and "\n" for a line break.
struct StepRecord {
    StepKind kind = StepKind::Single;
    int state = -1;
    int executor = 1;
    std::string description;
    std::string formula;         // EXPR
    std::string transformation;  // USERTR (double steps)
    std::string received;        // RECEIVE (double steps)

    bool operator==(const StepRecord&) const = default;
};

// "<STEP type=\"..\" id=\"n\" result=\"..\" executor=\"..\"><DESCRIPTION>".
std::string WriteStepHeader(const StepRecord& step, int n);
// The whole STEP element of step number n.
std::string WriteStep(const StepRecord& step, int n);
// A description or received text as element content: formulas as they stand,
// line breaks as "<BR/>", "&", "<" and ">" escaped elsewhere; other control
// characters dropped, malformed UTF-8, U+FFFE and U+FFFF as U+FFFD.
std::string WriteDescriptionText(std::string_view text);

// The two header lines, then the task text; when there are steps,
// "<SOLUTION>" + the steps + "</SOLUTION>" before the first "</TASK>". False
// when the task text holds no "</TASK>" (out then has no solution).
bool BuildTaskDocument(std::string_view taskText, const std::vector<std::string>& steps,
                       std::string& out);
inline constexpr std::string_view kTaskDocumentHeader =
    "<?xml version='1.0'?>\n<?xml-stylesheet type=\"text/xsl\" href=\"task.xslt\"?>";

// Every STEP of a solution text in document order; steps of an unknown type
// are skipped. Throws platform::xml::Error for text that is not well-formed.
std::vector<StepRecord> ReadSolution(std::string_view solutionXml);

}  // namespace stepwell
