// Reader of the kernel's Aplan replies: the text is rewritten into lexeme
// text by nineteen textual steps in a fixed order, and CLexemParser::Parse
// builds the lexemes afterwards. Each step is one left-to-right pass: what a
// step has written is not scanned again by that step, except that steps 5,
// 6 and 8 rewrite the arguments of their calls recursively. An argument runs
// from after a "(" or "," to the next "," or ")" at round-bracket depth 0.
// A call that is not closed is left as it stands.
//
// This reads the kernel's reply dialect, not the request dialect that the
// writer produces: "=!", "/!", "System(", "RealNum(" have no rule here.
#include <utility>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/functions.h"
#include "formula/notation/lexem_parser.h"

namespace formula {
namespace {

constexpr std::size_t npos = std::string_view::npos;

using Words = std::initializer_list<std::pair<std::string_view, std::string_view>>;

bool At(std::string_view text, std::size_t i, std::string_view word)
{
    return i <= text.size() && text.substr(i, word.size()) == word;
}

bool IsDigits(std::string_view text)
{
    if (text.empty()) {
        return false;
    }
    for (char ch : text) {
        if (!IsDigitChar(ch)) {
            return false;
        }
    }
    return true;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Every word replaced, tried in the given order at each position.
std::string ReplaceWords(std::string_view text, Words words)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [word, replacement] : words) {
            if (At(text, i, word)) {
                out += replacement;
                i += word.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += text[i++];
        }
    }
    return out;
}

// The round brackets of a text: for each "(" the position of its ")", and
// for each position the ")" that closes the bracket it stands in (at the top
// level the next ")" that closes nothing); npos when there is none.
struct Brackets {
    std::vector<std::size_t> match;
    std::vector<std::size_t> enclosing;
};

Brackets MatchBrackets(std::string_view text)
{
    Brackets brackets{std::vector<std::size_t>(text.size(), npos), std::vector<std::size_t>(text.size(), npos)};
    std::vector<std::size_t> open;
    std::vector<bool> unmatched(text.size(), false);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            open.push_back(i);
        } else if (text[i] == ')') {
            if (open.empty()) {
                unmatched[i] = true;
            } else {
                brackets.match[open.back()] = i;
                open.pop_back();
            }
        }
    }
    std::size_t topClose = npos;
    for (std::size_t i = text.size(); i-- > 0;) {
        topClose = unmatched[i] ? i : topClose;
        brackets.enclosing[i] = topClose;
    }
    open.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!open.empty()) {
            brackets.enclosing[i] = brackets.match[open.back()];
        }
        if (text[i] == '(') {
            open.push_back(i);
        } else if (text[i] == ')' && !open.empty()) {
            open.pop_back();
        }
    }
    return brackets;
}

// The arguments of a call opened by the "(" or "," at `open`; the position
// after its closing ")", npos when it is not closed.
std::size_t ReadCall(std::string_view text, const Brackets& brackets, std::size_t open,
                     std::vector<std::string_view>& args)
{
    args.clear();
    const std::size_t close = text[open] == '(' ? brackets.match[open] : brackets.enclosing[open];
    if (close == npos) {
        return npos;
    }
    std::size_t start = open + 1;
    for (std::size_t i = start; i < close; ++i) {
        if (text[i] == '(') {
            i = brackets.match[i];  // closed before `close`
        } else if (text[i] == ',') {
            args.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    args.push_back(text.substr(start, close - start));
    return close + 1;
}

struct Rename {
    std::string_view word;
    std::string_view name;
};

// "spec_equ" relation words and the sign names they become.
constexpr Rename kRelationWords[] = {
    {"eqls", "<="},        {"eqmr", ">="},    {"nequ", "nequ"},          {"blng", "blng"},
    {"nblng", "nblng"},    {"unificSets", "unite"}, {"crossSets", "intsct"},
};

// Template words in the order they are tried, and their template names.
constexpr Rename kTemplateWords[] = {
    {"mixed_frac", "mixed_frac"}, {"simple_frac", "simple_frac"}, {"hor_frac", "hor_frac"},
    {"index_up", "index_up"},     {"br_persist_rr", "br_persist_rr"}, {"sqrroot", "sqrroot"},
    {"br_row_abs", "br_row_abs"}, {"spec", "spec"},               {"spec_atom", "spec_atom"},
    {"system", "system"},         {"union", "union"},             {"_bool", "bool"},
    {"i_name", "progmem"},        {"Interval", "interval"},       {"Derive", "deriv"},
};

// Templates that "mns" may prefix without brackets.
constexpr std::string_view kSelfDelimitingTemplates[] = {"simple_frac", "mixed_frac", "index_up", "hor_frac",
                                                         "sqrroot"};

// One of those templates alone; digits alone; or digits, ".", digits with at
// most one bracketed group of digits.
bool IsSelfDelimiting(std::string_view x)
{
    if (IsDigits(x)) {
        return true;
    }
    if (!x.empty() && x.front() == '@') {
        const std::size_t end = x.find_first_of("$#@", 1);
        if (end == npos || x[end] != '$') {
            return false;
        }
        bool known = false;
        for (std::string_view name : kSelfDelimitingTemplates) {
            known = known || x.substr(1, end - 1) == name;
        }
        if (!known) {
            return false;
        }
        int depth = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (x[i] == '@') {
                ++depth;
            } else if (x[i] == '#' && --depth == 0) {
                return i + 1 == x.size();
            }
        }
        return false;
    }
    const std::size_t dot = x.find('.');
    if (dot == npos || !IsDigits(x.substr(0, dot)) || dot + 1 == x.size()) {
        return false;
    }
    bool group = false;
    for (std::size_t i = dot + 1; i < x.size(); ++i) {
        if (IsDigitChar(x[i])) {
            continue;
        }
        const std::size_t close = x.find(')', i);
        if (x[i] != '(' || group || close == npos || !IsDigits(x.substr(i + 1, close - i - 1))) {
            return false;
        }
        group = true;
        i = close;
    }
    return true;
}

class Rewriter {
public:
    // All nineteen steps.
    static std::string Run(std::string_view text, int depth);

private:
    static void Enter(int depth);
    static std::string IntNums(std::string_view text);
    static std::string Ranges(std::string_view text, int depth);
    static std::string Relations(std::string_view text, int depth);
    static std::string Functions(std::string_view text);
    static std::string Templates(std::string_view text, int depth);
    static std::string Negations(std::string_view text);
    static std::string RemoveMarks(std::string_view text);
    static std::string QuotedNumbers(std::string_view text);
    static std::string QuotedPeriods(std::string_view text);
    static std::string LowerIndices(std::string_view text);
    static std::string Pi(std::string_view text);
};

void Rewriter::Enter(int depth)
{
    if (depth > CLexemParser::kMaxDepth) {
        throw CMEException(3, msg::TooDeep);
    }
}

std::string Rewriter::Run(std::string_view input, int depth)
{
    Enter(depth);
    std::string text = ReplaceWords(input, {{"|!", ";"}});                               // 1
    text = ReplaceWords(text, {{"||", "$"}});
    text = ReplaceWords(text, {{"plus_inf", "+@spec_atom$inf#"}, {"minus_inf", "-@spec_atom$inf#"}});  // 2
    text = ReplaceWords(text, {{"shp", "#"}});                                          // 3
    text = IntNums(text);                                                               // 4
    text = Ranges(text, depth);                                                         // 5
    text = Relations(text, depth);                                                      // 6
    text = Functions(text);                                                             // 7
    text = Templates(text, depth);                                                      // 8
    text = Negations(text);                                                             // 9
    text = ReplaceWords(text, {{"nln", "@#"}});                                         // 10
    text = ReplaceWords(text, {{"\";\"", ";"}});                                        // 11
    text = RemoveMarks(text);                                                           // 12
    text = QuotedNumbers(text);                                                         // 13
    text = QuotedPeriods(text);                                                         // 14
    const char separator[] = {kDecimalSeparator, '\0'};
    text = ReplaceWords(text, {{"mrk_comma", separator}});                              // 15
    text = ReplaceWords(text, {{"Intr_No", "@spec_atom$eset#"},                         // 16
                               {"EmptySet", "@spec_atom$eset#"},
                               {"Intr_All", "@spec_atom$inf#"},
                               {"InfSet", "@spec_atom$inf#"},
                               {" more ", ">"},
                               {" less ", "<"}});
    text = ReplaceWords(text, {{" ", ""}});                                             // 17
    text = LowerIndices(text);                                                          // 18
    return Pi(text);                                                                    // 19
}

// IntNum("12") -> 12, IntNum("-12") -> (-12)
std::string Rewriter::IntNums(std::string_view text)
{
    constexpr std::string_view kWord = "IntNum(\"";
    std::string out;
    bool closeAhead = true;  // once no closing quote follows, none ever will
    for (std::size_t i = 0; i < text.size();) {
        if (closeAhead && At(text, i, kWord)) {
            const std::size_t start = i + kWord.size();
            const std::size_t end = text.find("\")", start);
            closeAhead = end != npos;
            if (end != npos) {
                const bool negative = start < text.size() && text[start] == '-';
                out += negative ? "(" : "";
                out += text.substr(start, end - start);
                out += negative ? ")" : "";
                i = end + 2;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// _range(1,2) -> @br_row_figur$1;2#
std::string Rewriter::Ranges(std::string_view text, int depth)
{
    constexpr std::string_view kWord = "_range";
    const Brackets brackets = MatchBrackets(text);
    std::vector<std::string_view> args;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t open = i + kWord.size();
        if (At(text, i, kWord) && open < text.size() && (text[open] == '(' || text[open] == ',')) {
            const std::size_t end = ReadCall(text, brackets, open, args);
            if (end != npos) {
                out += "@br_row_figur$";
                for (std::size_t k = 0; k < args.size(); ++k) {
                    out += k > 0 ? ";" : "";
                    out += Run(args[k], depth + 1);
                }
                out += '#';
                i = end;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// spec_equ(eqls,a,b) -> a@spec$<=#b
std::string Rewriter::Relations(std::string_view text, int depth)
{
    Enter(depth);
    constexpr std::string_view kWord = "spec_equ(";
    const Brackets brackets = MatchBrackets(text);
    std::vector<std::string_view> args;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (At(text, i, kWord)) {
            const std::size_t end = ReadCall(text, brackets, i + kWord.size() - 1, args);
            const Rename* relation = nullptr;
            for (const Rename& word : kRelationWords) {
                if (end != npos && args.size() == 3 && args[0] == word.word) {
                    relation = &word;
                }
            }
            if (relation) {
                out += Relations(args[1], depth + 1);
                out += "@spec$";
                out += relation->name;
                out += '#';
                out += Relations(args[2], depth + 1);
                i = end;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// Sin(x) -> @func$sin$x#; "sin" inside "arcsin" follows a letter and is skipped.
std::string Rewriter::Functions(std::string_view text)
{
    const Brackets brackets = MatchBrackets(text);
    std::vector<bool> closing(text.size(), false);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (closing[i]) {
            out += '#';
            ++i;
            continue;
        }
        bool found = false;
        for (int id = 1; !found && (i == 0 || !IsLatinLetter(text[i - 1])) && !GetFuncName(id).empty(); ++id) {
            const std::string_view name = GetFuncName(id);
            const std::size_t open = i + name.size();
            if (open < text.size() && text[open] == '(' && brackets.match[open] != npos &&
                EqualsIgnoreCase(text.substr(i, name.size()), name)) {
                closing[brackets.match[open]] = true;
                out += "@func$";
                out += name;
                out += '$';
                i = open + 1;
                found = true;
            }
        }
        if (!found) {
            out += text[i++];
        }
    }
    return out;
}

// hor_frac(1,2) -> @hor_frac$1$2#
std::string Rewriter::Templates(std::string_view text, int depth)
{
    Enter(depth);
    const Brackets brackets = MatchBrackets(text);
    std::vector<std::string_view> args;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool found = false;
        for (const Rename& word : kTemplateWords) {
            const std::size_t open = i + word.word.size();
            if (!At(text, i, word.word) || open >= text.size() || (text[open] != '(' && text[open] != ',')) {
                continue;
            }
            const std::size_t end = ReadCall(text, brackets, open, args);
            if (end == npos) {
                continue;
            }
            out += '@';
            out += word.name;
            for (std::string_view arg : args) {
                out += '$';
                out += Templates(arg, depth + 1);
            }
            out += '#';
            i = end;
            found = true;
            break;
        }
        if (!found) {
            out += text[i++];
        }
    }
    return out;
}

// mns(x) at the start -> -(x); a*mns(b+c) -> a*(-(b+c)); mns(5) -> -5; then
// every other "mns" -> "-".
std::string Rewriter::Negations(std::string_view text)
{
    constexpr std::string_view kWord = "mns(";
    constexpr std::string_view kOpenAfter = " #$(+,-;";
    const Brackets brackets = MatchBrackets(text);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (At(text, i, kWord) && brackets.match[i + kWord.size() - 1] != npos) {
            const std::size_t close = brackets.match[i + kWord.size() - 1];
            const std::string_view x = text.substr(i + kWord.size(), close - i - kWord.size());
            std::string operand = IsSelfDelimiting(x) ? std::string(x) : "(" + std::string(x) + ")";
            if (i == 0 || kOpenAfter.find(text[i - 1]) != npos) {
                out += "-" + operand;
            } else {
                out += "(-" + operand + ")";
            }
            i = close + 1;
            continue;
        }
        out += text[i++];
    }
    return ReplaceWords(out, {{"mns", "-"}});
}

// +! -> +, *! -> *, -! -> -, <! -> <, >! -> >
std::string Rewriter::RemoveMarks(std::string_view text)
{
    constexpr std::string_view kMarked = "*+-<>";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '!' && i > 0 && kMarked.find(text[i - 1]) != npos) {
            continue;
        }
        out += text[i];
    }
    return out;
}

// "12" -> 12, "-5" -> -5
std::string Rewriter::QuotedNumbers(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '"') {
            std::size_t j = i + 1;
            if (j < text.size() && text[j] == '-') {
                ++j;
            }
            const std::size_t digits = j;
            while (j < text.size() && IsDigitChar(text[j])) {
                ++j;
            }
            if (j > digits && j < text.size() && text[j] == '"') {
                out += text.substr(i + 1, j - i - 1);
                i = j + 1;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// "(6)" -> (6); "" -> 0
std::string Rewriter::QuotedPeriods(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (At(text, i, "\"(")) {
            std::size_t close = i + 2;
            while (close < text.size() && IsDigitChar(text[close])) {
                ++close;
            }
            if (close > i + 2 && At(text, close, ")\"")) {
                out += text.substr(i + 1, close + 1 - (i + 1));
                i = close + 2;
                continue;
            }
        }
        if (At(text, i, "\"\"")) {
            out += '0';
            i += 2;
            continue;
        }
        out += text[i++];
    }
    return out;
}

// x12 -> @index_dn$x$12#; 2x stays.
std::string Rewriter::LowerIndices(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (IsLatinLetter(text[i]) && i + 1 < text.size() && IsDigitChar(text[i + 1])) {
            std::size_t end = i + 1;
            while (end < text.size() && IsDigitChar(text[end])) {
                ++end;
            }
            out += "@index_dn$";
            out += text[i];
            out += '$';
            out += text.substr(i + 1, end - i - 1);
            out += '#';
            i = end;
            continue;
        }
        out += text[i++];
    }
    return out;
}

// pi -> @spec_atom$pi#, except the name of an atom already made.
std::string Rewriter::Pi(std::string_view text)
{
    constexpr std::string_view kAtom = "@spec_atom$";
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (At(text, i, "pi")) {
            const bool atomName = i >= kAtom.size() && text.substr(i - kAtom.size(), kAtom.size()) == kAtom &&
                                  At(text, i + 2, "#");
            out += atomName ? "pi" : "@spec_atom$pi#";
            i += 2;
            continue;
        }
        out += text[i++];
    }
    return out;
}

}  // namespace

void CLexemParser::AplanToLexemText(std::string& text)
{
    text = Rewriter::Run(text, 0);
}

void CLexemParser::ConvertAplanText(std::string_view aplan, std::string& out)
{
    out = Rewriter::Run(aplan, 0);
}

}  // namespace formula
