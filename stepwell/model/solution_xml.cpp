#include "stepwell/model/solution_xml.h"

#include <optional>

#include "platform/text.h"
#include "platform/xml.h"
#include "stepwell/model/received_task.h"

namespace stepwell {

namespace xml = platform::xml;

namespace {

const char* typeWord(StepKind kind)
{
    switch (kind) {
    case StepKind::Single: return "single";
    case StepKind::Double: return "double";
    case StepKind::Answer: return "answer";
    }
    return "";
}

std::optional<StepKind> kindOf(std::string_view word)
{
    if (word == "single")
        return StepKind::Single;
    if (word == "double")
        return StepKind::Double;
    if (word == "answer")
        return StepKind::Answer;
    return std::nullopt;
}

// Where a formula of a description begins: "<math" followed by a blank or ">".
bool opensMath(std::string_view text, std::size_t at)
{
    constexpr std::string_view kMath = "<math";
    if (text.substr(at, kMath.size()) != kMath || at + kMath.size() >= text.size())
        return false;
    const char next = text[at + kMath.size()];
    return next == ' ' || next == '>';
}

// A formula of a description as the reader gives it back, so that a written
// solution reads and writes again to the same bytes; none when the text is
// not one well-formed math element (it is then written as text).
std::optional<std::string> wellFormedMath(std::string_view text)
{
    try {
        xml::LoadOptions options;
        options.preserveWhiteSpace = true;
        const xml::Document document = xml::Document::loadText(text, options, "math");
        const std::optional<xml::Node> root = document.root();
        if (!root || root->localName() != "math")
            return std::nullopt;
        return root->xml();
    } catch (const xml::Error&) {
        return std::nullopt;
    }
}

std::optional<xml::Node> firstChild(const xml::Node& node, std::string_view name)
{
    for (const xml::Node& child : node.children())
        if (child.name() == name)
            return child;
    return std::nullopt;
}

std::string mathOf(const std::optional<xml::Node>& holder)
{
    if (!holder)
        return {};
    const std::vector<xml::Node> math = xml::childElementsByLocalName(*holder, "math");
    return math.empty() ? std::string() : math.front().xml();
}

// A formula of a description as text: its markup, an empty one with its end
// tag rather than "/>", since the steps view and the writer find a formula's
// end by its "</math>".
std::string formulaText(const xml::Node& math)
{
    std::string markup = math.xml();
    if (math.childNodes().empty() && markup.ends_with("/>")) {
        markup.resize(markup.size() - 2);
        markup += "></" + math.name() + ">";
    }
    return markup;
}

// The content of DESCRIPTION or RECEIVE back as description text: entities as
// characters, "<BR/>" as a line break, formulas as their MathML.
std::string contentText(const std::optional<xml::Node>& holder)
{
    std::string out;
    if (!holder)
        return out;
    for (const xml::Node& child : holder->childNodes()) {
        switch (child.type()) {
        case xml::NodeType::Text: out += child.text(); break;
        case xml::NodeType::Element:
            if (child.localName() == "math")
                out += formulaText(child);
            else if (child.name() == "BR")
                out += '\n';
            else
                out += child.text();
            break;
        case xml::NodeType::Attribute:
        case xml::NodeType::Other: break;
        }
    }
    return out;
}

// The text without what XML text cannot hold: control characters other than
// tab and line breaks are dropped; malformed UTF-8, U+FFFE and U+FFFF become
// U+FFFD. Done before formulas are looked for, so that what is written reads
// back and writes again to the same bytes.
std::string xmlCharacters(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out.push_back(static_cast<char>(c));
            continue;
        }
        const std::size_t start = i;
        const std::optional<char32_t> decoded = platform::text::decodeUtf8(text, i);
        if (decoded && *decoded != 0xFFFE && *decoded != 0xFFFF)
            out.append(text.substr(start, i - start));
        else
            out += "\xEF\xBF\xBD";
    }
    return out;
}

}  // namespace

std::string WriteStepHeader(const StepRecord& step, int n)
{
    return std::string("<STEP type=\"") + typeWord(step.kind) + "\" id=\"" + std::to_string(n) +
           "\" result=\"" + std::to_string(step.state) + "\" executor=\"" + std::to_string(step.executor) +
           "\"><DESCRIPTION>";
}

std::string WriteDescriptionText(std::string_view given)
{
    const std::string characters = xmlCharacters(given);
    const std::string_view text = characters;
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t i = 0;
    while (i < text.size()) {
        if (opensMath(text, i)) {
            constexpr std::string_view kClose = "</math>";
            const std::size_t close = text.find(kClose, i);
            if (close != std::string_view::npos) {
                if (const std::optional<std::string> math = wellFormedMath(text.substr(i, close + kClose.size() - i))) {
                    out += *math;
                    i = close + kClose.size();
                    continue;
                }
            }
        }
        const char c = text[i++];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\r':
            if (i < text.size() && text[i] == '\n')
                ++i;
            out += "<BR/>";
            break;
        case '\n': out += "<BR/>"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string WriteStep(const StepRecord& step, int n)
{
    std::string out = WriteStepHeader(step, n) + WriteDescriptionText(step.description);
    if (step.kind == StepKind::Double)
        out += "</DESCRIPTION><USERTR>" + step.transformation + "</USERTR><RECEIVE>" +
               WriteDescriptionText(step.received) + "</RECEIVE><EXPR>";
    else
        out += "</DESCRIPTION><EXPR>";
    return out + step.formula + "</EXPR></STEP>";
}

bool BuildTaskDocument(std::string_view taskText, const std::vector<std::string>& steps, std::string& out)
{
    out.assign(kTaskDocumentHeader);
    const std::size_t close = taskText.find("</TASK>");
    if (close == std::string_view::npos || steps.empty()) {
        out.append(taskText);
        return close != std::string_view::npos;
    }
    out.append(taskText.substr(0, close));
    out += "<SOLUTION>";
    for (const std::string& step : steps)
        out += step;
    out += "</SOLUTION>";
    out.append(taskText.substr(close));
    return true;
}

std::vector<StepRecord> ReadSolution(std::string_view solutionXml)
{
    xml::LoadOptions options;
    options.preserveWhiteSpace = true;  // blanks between a formula and a word are text
    const xml::Document document = xml::Document::loadText(solutionXml, options, "SOLUTION");
    std::vector<StepRecord> steps;
    for (const xml::Node& node : xml::selectList(document.node(), "//STEP")) {
        const std::optional<StepKind> kind = kindOf(node.attribute("type").value_or(""));
        if (!kind)
            continue;
        StepRecord step;
        step.kind = *kind;
        step.state = ParseDecimal(node.attribute("result").value_or(""));
        step.executor = ParseDecimal(node.attribute("executor").value_or(""));
        step.description = contentText(firstChild(node, "DESCRIPTION"));
        step.formula = mathOf(firstChild(node, "EXPR"));
        if (*kind == StepKind::Double) {
            step.transformation = mathOf(firstChild(node, "USERTR"));
            step.received = contentText(firstChild(node, "RECEIVE"));
            step.executor = 1;  // a transformation step is always the pupil's
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

}  // namespace stepwell
