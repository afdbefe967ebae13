// How the editor reads what a pupil types: "^" and "/" take the operand
// before the caret, "<=" and ">=" become one sign, a decimal point in a
// number becomes the comma, and a product typed without its sign gets it.
// Only typing follows these rules: formulas read from text keep theirs.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "formula/edit/formula_editor.h"
#include "formula/edit/typed_char.h"
#include "formula/env/formula_env.h"
#include "formula/env/tool_table.h"
#include "formula/model/chars.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/fractions.h"
#include "formula/model/templates/functions.h"
#include "formula/model/templates/index.h"
#include "formula/notation/lexem_parser.h"

namespace formula {

char TypedFormulaChar(char32_t code)
{
    if (code >= 0x20 && code < 0x7F) {
        const char ch = static_cast<char>(code);
        return ch == '@' || ch == '#' || ch == '$' ? 0 : ch;
    }
    // Cyrillic letters that look like Latin ones, and the Latin letter each
    // becomes.
    struct Lookalike {
        char32_t cyrillic;
        char latin;
    };
    static constexpr Lookalike kLookalikes[] = {
        {U'а', 'a'}, {U'е', 'e'}, {U'і', 'i'}, {U'к', 'k'}, {U'о', 'o'}, {U'р', 'p'}, {U'с', 'c'},
        {U'у', 'y'}, {U'х', 'x'}, {U'А', 'A'}, {U'Е', 'E'}, {U'І', 'I'}, {U'К', 'K'}, {U'О', 'O'},
        {U'Р', 'P'}, {U'С', 'C'}, {U'У', 'Y'}, {U'Х', 'X'},
    };
    for (const Lookalike& letter : kLookalikes) {
        if (letter.cyrillic == code) {
            return letter.latin;
        }
    }
    return 0;
}

namespace {

constexpr int kPowerTool = 269;
constexpr int kFractionTool = 264;

bool IsLetter(const CLexem& lexem)
{
    const CCharLexem* ch = AsCharLexem(&lexem);
    return ch && lexem.Type() == TemplateType::Char && IsLatinLetter(ch->Char());
}

bool IsBracket(const CLexem& lexem, BracketSide side)
{
    const CBracketChar* bracket = AsBracketChar(&lexem);
    return bracket && bracket->GetSide() == side;
}

// An operator sign typed as a character ('*', '<'...), not a relation sign.
bool IsSignChar(const CLexem& lexem, char ch)
{
    const COperatorSign* sign = AsOperatorSign(&lexem);
    return sign && lexem.Kind() == LexemKind::Character && sign->Char() == ch;
}

// A decimal number without a period: a "(" typed after it begins the period
// (0,1(6)), not a product.
bool IsDecimal(const CLexem& number)
{
    std::string text;
    number.GetLexemText(text);
    return text.find(',') != std::string::npos && text.find('(') == std::string::npos;
}

// The element right before the caret; null at the start of a row, in a digit
// row, or when the caret stands between the digits of a number.
struct Before {
    CLexemRow* row = nullptr;
    int pos = -1;
    CLexem* element = nullptr;
};

Before ElementBefore(const EditPoint& point)
{
    if (!point.row || IsDigitRow(*point.row) || point.flat <= 0) {
        return {};
    }
    const FlatItem item = ItemAt(*point.row, point.flat);
    CLexem* element = point.row->Child(item.pos);
    if (!element || (IsInlineNumber(*element) && point.flat < item.before + FlatWeight(*element))) {
        return {};
    }
    return {point.row, item.pos, element};
}

// The bracket character opening the one closing at a position; -1 when none.
int OpeningBracket(const CLexemRow& row, int close)
{
    const BracketKind kind = AsBracketChar(row.Child(close))->GetBracketKind();
    int depth = 0;
    for (int pos = close; pos >= row.FirstPos(); --pos) {
        const CBracketChar* bracket = AsBracketChar(row.Child(pos));
        if (!bracket || bracket->GetBracketKind() != kind) {
            continue;
        }
        depth += bracket->GetSide() == BracketSide::Closing ? 1 : -1;
        if (depth == 0) {
            return pos;
        }
    }
    return -1;
}

// Where the operand that ends at a position begins: a letter, a number, an
// atom or a template is one element, a closing bracket ends the bracketed
// group; -1 when no operand ends there.
int OperandStart(const CLexemRow& row, int pos)
{
    if (pos < row.FirstPos()) {
        return -1;
    }
    const CLexem& element = *row.Child(pos);
    if (IsBracket(element, BracketSide::Closing)) {
        return OpeningBracket(row, pos);
    }
    const bool operand = IsLetter(element) || IsInlineNumber(element) || element.IsTemplate() ||
                         element.Type() == TemplateType::SpecAtom;
    return operand ? pos : -1;
}

// The run of operands before a position, back to the previous sign other
// than '*' (a product is one term: 2*x/3 is two x over three); -1 when no
// operand ends there.
int ProductStart(const CLexemRow& row, int pos)
{
    int first = OperandStart(row, pos);
    while (first > row.FirstPos()) {
        const int before = first - 1;
        int start = OperandStart(row, before);
        if (start < 0 && IsSignChar(*row.Child(before), '*')) {
            start = OperandStart(row, before - 1);
        }
        if (start < 0) {
            break;
        }
        first = start;
    }
    return first;
}

// The letters that end at a position, read back over single '*' signs, as
// the editor put them between letters: the letters' positions (nearest
// first) and the '*' signs' positions.
struct LetterChain {
    std::vector<int> letters;
    std::vector<int> signs;
    // The letters in order.
    std::string Text(const CLexemRow& row) const
    {
        std::string text;
        for (auto it = letters.rbegin(); it != letters.rend(); ++it) {
            text += AsCharLexem(row.Child(*it))->Char();
        }
        return text;
    }
};

LetterChain LettersBefore(const CLexemRow& row, int pos, bool overSigns)
{
    LetterChain chain;
    while (pos >= row.FirstPos() && IsLetter(*row.Child(pos))) {
        chain.letters.push_back(pos);
        const int before = pos - 1;
        if (before >= row.FirstPos() && IsLetter(*row.Child(before))) {
            pos = before;
        } else if (overSigns && before - 1 >= row.FirstPos() && IsSignChar(*row.Child(before), '*') &&
                   IsLetter(*row.Child(before - 1))) {
            chain.signs.push_back(before);
            pos = before - 1;
        } else {
            break;
        }
    }
    return chain;
}

// The longest function name the editor knows that the text ends with; empty
// when none.
std::string_view FunctionNameAtEnd(std::string_view text)
{
    std::string_view found;
    for (std::string_view name : kFuncNames) {
        if (!name.empty() && name.size() > found.size() && text.ends_with(name)) {
            found = name;
        }
    }
    return found;
}

// The letters right before a position (no sign between them) end with a
// function name: what follows is its argument, not a factor.
bool AfterFunctionName(const CLexemRow& row, int pos)
{
    return !FunctionNameAtEnd(LettersBefore(row, pos, false).Text(row)).empty();
}

// The product sign goes between the element before the caret and what is
// typed: an operand typed right after a number, a letter or a closing
// bracket (a number only after a letter or a bracket; a bracket opening the
// period of a decimal number is none).
enum class Typed { Letter, Digit, OpeningBracket, Template, Other };

Typed KindOf(char ch)
{
    if (IsLatinLetter(ch)) {
        return Typed::Letter;
    }
    if (IsDigitChar(ch)) {
        return Typed::Digit;
    }
    if (ch == '(' || ch == '[') {
        return Typed::OpeningBracket;
    }
    return Typed::Other;
}

bool ProductSignBetween(const Before& before, Typed typed)
{
    if (!before.element || typed == Typed::Other) {
        return false;
    }
    const CLexem& element = *before.element;
    const bool letter = IsLetter(element);
    const bool number = IsInlineNumber(element);
    const bool bracket = IsBracket(element, BracketSide::Closing);
    if (!letter && !number && !bracket) {
        return false;
    }
    if (letter && AfterFunctionName(*before.row, before.pos)) {
        return false;
    }
    switch (typed) {
    case Typed::Digit:
        return !number;
    case Typed::OpeningBracket:
        return !number || !IsDecimal(element);
    case Typed::Letter:
    case Typed::Template:
        return true;
    case Typed::Other:
        break;
    }
    return false;
}

}  // namespace

bool CFormulaEditor::TakeOperand(char shortcut)
{
    const Before before = ElementBefore(Point());
    if (!before.element || Depth() >= CFormulaEnv::kMaxInsertDepth) {
        return false;
    }
    CLexemRow& row = *before.row;
    const bool power = shortcut == '^';
    const int first = power ? OperandStart(row, before.pos) : ProductStart(row, before.pos);
    if (first < 0) {
        return false;
    }
    // The operand goes one template deeper; the text must stay readable.
    int height = 0;
    for (int pos = first; pos <= before.pos; ++pos) {
        height = std::max(height, TextHeight(*row.Child(pos)));
    }
    if (TextDepth(row) + 1 + height > CLexemParser::kMaxDepth) {
        return false;
    }
    const ToolInfo* tool = FindTool(power ? kPowerTool : kFractionTool);
    std::unique_ptr<CLexem> made = tool ? MakeToolLexem(*tool) : nullptr;
    CLexemRow* holder = nullptr;
    CLexemRow* caretRow = nullptr;
    if (auto* index = dynamic_cast<CIndexTemplate*>(made.get())) {
        holder = index->Base();
        caretRow = index->Upper();
    } else if (auto* fraction = dynamic_cast<CHorFracTemplate*>(made.get())) {
        holder = fraction->Numerator();
        caretRow = fraction->Denominator();
    }
    if (!holder || !caretRow) {
        return false;
    }
    LexemList operand;
    row.DetachRange(first, before.pos, true, operand);
    const CBracketChar* open = AsBracketChar(operand.front().get());
    if (power && operand.size() > 2 && open && open->GetBracketKind() == BracketKind::Round) {
        // The base shows its own brackets around a compound operand: the
        // typed ones would be a second pair.
        operand.pop_back();
        operand.erase(operand.begin());
    }
    holder->InsertLexems(std::move(operand));
    if (row.InsertAfter(first - 1, std::move(made)) < 0) {
        return false;
    }
    PlaceAt({caretRow, 0});
    return true;
}

bool CFormulaEditor::JoinRelation()
{
    const Before before = ElementBefore(Point());
    if (!before.element) {
        return false;
    }
    int code = 0;
    if (IsSignChar(*before.element, '<')) {
        code = symbol::LessOrEqual;
    } else if (IsSignChar(*before.element, '>')) {
        code = symbol::GreaterOrEqual;
    } else {
        return false;
    }
    const EditPoint point = Point();
    if (!before.row->ReplaceChild(before.pos, std::make_unique<CRelationSign>(code))) {
        return false;
    }
    PlaceAt(point);
    return true;
}

bool CFormulaEditor::ProductSignBeforeTemplate()
{
    return ProductSignBetween(ElementBefore(Point()), Typed::Template);
}

bool CFormulaEditor::TypeIntoRun(CLexemRow& row, int flat, char ch)
{
    std::string typed(1, ch);
    const Before before = ElementBefore({&row, flat});
    if (ch == '.' && before.element && IsInlineNumber(*before.element)) {
        // The formula's decimal separator is the comma.
        typed = ",";
    }
    std::string name;
    if (before.element && IsLetter(*before.element) && IsLatinLetter(ch)) {
        // Letters that the editor parted by '*' and that make a function name
        // with the new one come together again.
        const LetterChain chain = LettersBefore(row, before.pos, true);
        name = FunctionNameAtEnd(chain.Text(row) + ch);
        if (!name.empty()) {
            const int nameStart = chain.letters[name.size() - 2];
            // Nearest first: each removal leaves the positions before it.
            for (int sign : chain.signs) {
                if (sign > nameStart) {
                    row.Detach(sign);
                    --flat;
                }
            }
        }
    }
    if (name.empty() && ProductSignBetween(before, KindOf(ch))) {
        typed.insert(0, "*");
    }
    const Run run = FindRun(row, flat);
    std::string text = run.text;
    text.insert(static_cast<std::size_t>(flat - run.flatStart), typed);
    if (!ReplaceRun(row, run, text)) {
        return false;
    }
    PlaceAt({&row, flat + static_cast<int>(typed.size())});
    return true;
}

}  // namespace formula
