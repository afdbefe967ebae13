// IsGraficFormulaValid: whether the formula has a shape that a graph
// construction accepts, read from the lexeme text of its one line.
#include <cctype>
#include <string>
#include <string_view>

#include "formula/control/formavel_ctrl.h"
#include "formula/model/lexem_row.h"
#include "formula/optree/operation_tree.h"

namespace formula::control {
namespace {

constexpr int kNameOnly = 2;
constexpr int kPoint = 4;
constexpr int kEquation = 8;
constexpr int kExpression = 16;
constexpr int kNumber = 32;
constexpr int kInterval = 64;

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// The length of the name at the start of the line: a Latin letter with
// optional digits, or a lower-index template whose index is one character;
// 0 when the line begins with no name.
std::size_t nameLength(std::string_view line)
{
    if (!line.empty() && std::isalpha(static_cast<unsigned char>(line[0])) && static_cast<unsigned char>(line[0]) < 128) {
        std::size_t end = 1;
        while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) {
            ++end;
        }
        return end;
    }
    constexpr std::string_view kIndex = "@index_dn$";
    if (line.starts_with(kIndex)) {
        const std::size_t baseEnd = line.find('$', kIndex.size());
        if (baseEnd != std::string_view::npos && baseEnd + 2 < line.size() && line[baseEnd + 2] == '#') {
            return baseEnd + 3;
        }
    }
    return 0;
}

// The text inside a leading group of round brackets, and what follows it.
bool splitGroup(std::string_view text, std::string_view& inside, std::string_view& after)
{
    if (text.empty() || text[0] != '(') {
        return false;
    }
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        depth += text[i] == '(' ? 1 : text[i] == ')' ? -1 : 0;
        if (depth == 0) {
            inside = text.substr(1, i - 1);
            after = text.substr(i + 1);
            return true;
        }
    }
    return false;
}

// An optional sign, then a real number, a simple fraction or a mixed number,
// then blanks only.
bool isNumber(std::string_view text)
{
    while (!text.empty() && text[0] == ' ') {
        text.remove_prefix(1);
    }
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        text.remove_prefix(1);
    }
    for (std::string_view templ : {std::string_view("@simple_frac$"), std::string_view("@mixed_frac$")}) {
        if (text.starts_with(templ)) {
            const std::size_t end = text.rfind('#');
            return end != std::string_view::npos && isBlank(text.substr(end + 1));
        }
    }
    std::size_t i = 0;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            digits = true;
        } else if ((text[i] == '.' || text[i] == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    return digits && isBlank(text.substr(i));
}

// A coordinate list: numbers separated by ';'.
bool isPoint(std::string_view inside)
{
    std::size_t count = 0;
    while (true) {
        const std::size_t split = inside.find(';');
        if (!isNumber(inside.substr(0, split))) {
            return false;
        }
        ++count;
        if (split == std::string_view::npos) {
            return count >= 2;
        }
        inside.remove_prefix(split + 1);
    }
}

// The top node of the operation tree of the text inside the name's
// brackets, read into a fresh environment.
const COperationNode* topNode(std::string_view line, CFormulaEnv& probe)
{
    EnvError error;
    if (!probe.SetLexemText(line, error) || !probe.SetTransformerMode()) {
        return nullptr;
    }
    const COperationNode* node = probe.TreeRoot();
    // Down from the formula's root through its one line to the first sign.
    while (node && !node->Sign() && node->ChildCount() == 1) {
        node = node->Child(0);
    }
    return node;
}

bool isExpression(std::string_view line)
{
    CFormulaEnv probe;
    return topNode(line, probe) != nullptr;
}

bool isEquation(std::string_view line)
{
    CFormulaEnv probe;
    const COperationNode* node = topNode(line, probe);
    const COperatorSign* sign = node ? node->Sign() : nullptr;
    return sign && node->Lexeme() && node->Lexeme()->LexemText() == "=";
}

bool isInterval(std::string_view rest)
{
    if (rest.starts_with("@interval$")) {
        return true;
    }
    // Brackets that pair into one interval: ( or [, a ';', then ) or ].
    const std::size_t last = rest.find_last_not_of(' ');
    return !rest.empty() && (rest[0] == '(' || rest[0] == '[') && last != std::string_view::npos &&
           (rest[last] == ')' || rest[last] == ']') && rest.find(';') != std::string_view::npos;
}

}  // namespace

int CheckGraphicFormula(const CFormulaEnv& env, int flags)
{
    // The published flags 0x40000000 + n stand for the bit 1 << n (0 for n = 0).
    if ((flags & 0x40000000) != 0) {
        const int n = flags & 0xFF;
        flags = n > 0 && n < 7 ? 1 << n : 0;
    }
    const CAggregateTemplate& root = env.Root();
    if (root.GetRowCount() != 1) {
        return 0;
    }
    const std::string line = root.GetFirstRow()->LexemText();
    const std::size_t name = nameLength(line);
    if (name == 0 || name >= line.size()) {
        return 0;
    }
    const std::string_view rest = std::string_view(line).substr(name);
    if (flags & kNameOnly) {
        return isBlank(rest) ? 1 : 0;
    }
    if (flags & kInterval) {
        return isInterval(rest) ? 1 : 0;
    }
    std::string_view inside;
    std::string_view after;
    if (!splitGroup(rest, inside, after)) {
        return 0;
    }
    if ((flags & (kPoint | kNumber | kEquation | kExpression)) == 0) {
        return isNumber(inside) || isPoint(inside) || isEquation(inside) ? 1 : 0;
    }
    if ((flags & kPoint) && isPoint(inside)) {
        return 1;
    }
    if ((flags & kNumber) && isNumber(inside)) {
        return 1;
    }
    if ((flags & kEquation) && isEquation(inside)) {
        return 1;
    }
    if ((flags & kExpression) && isExpression(inside)) {
        return 1;
    }
    return 0;
}

}  // namespace formula::control
