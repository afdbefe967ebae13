#include "formula/notation/lexem_parser.h"

#include "formula/model/chars.h"
#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/all.h"

namespace formula {

bool IsFormulaChar(char ch)
{
    const auto code = static_cast<unsigned char>(ch);
    return code >= 32 && code <= 127;
}

namespace {

constexpr int kSyntaxError = 3;
constexpr int kUnsupportedCharacter = 5;

[[noreturn]] void Syntax(int messageId)
{
    throw CMEException(kSyntaxError, messageId);
}

[[noreturn]] void Unsupported()
{
    throw CMEException(kUnsupportedCharacter, msg::UnsupportedSymbol);
}

// The template type a name stands for in a text; None when unknown.
TemplateType ReaderType(std::string_view name)
{
    if (name == "index") {
        return TemplateType::Index;
    }
    if (name == "spec") {
        return TemplateType::OperatorSign;
    }
    for (const TemplateKind& kind : kTemplateKinds) {
        if (kind.name == name) {
            return kind.type;
        }
    }
    return TemplateType::None;
}

// An argument other than the last: up to the "$" of its own level.
std::string_view ReadArg(std::string_view& rest)
{
    int depth = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        switch (rest[i]) {
        case '@':
            ++depth;
            break;
        case '#':
            if (depth == 0) {
                Syntax(msg::SeparatorMissing);
            }
            --depth;
            break;
        case '$':
            if (depth == 0) {
                const std::string_view arg = rest.substr(0, i);
                rest.remove_prefix(i + 1);
                return arg;
            }
            break;
        }
    }
    Syntax(msg::TemplateNameEnd);
}

// The last argument, up to the template's closing "#"; a "$" of its own
// level either ends it with more to follow (when that is allowed) or fails.
std::string_view ReadLast(std::string_view& rest, bool* more)
{
    int depth = 1;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        switch (rest[i]) {
        case '@':
            ++depth;
            break;
        case '#':
            if (--depth == 0) {
                const std::string_view arg = rest.substr(0, i);
                rest.remove_prefix(i + 1);
                if (more) {
                    *more = false;
                }
                return arg;
            }
            break;
        case '$':
            if (depth == 1) {
                if (!more) {
                    Syntax(msg::SeparatorInLastArgument);
                }
                *more = true;
                const std::string_view arg = rest.substr(0, i);
                rest.remove_prefix(i + 1);
                return arg;
            }
            break;
        }
    }
    Syntax(msg::LastArgumentEnd);
}

std::string_view ReadLastArg(std::string_view& rest)
{
    return ReadLast(rest, nullptr);
}

// A decimal integer as the C library reads one: true when it is not zero.
bool IsNonZeroDecimal(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    for (; i < text.size() && IsDigitChar(text[i]); ++i) {
        if (text[i] != '0') {
            return true;
        }
    }
    return false;
}

std::string_view TrimBrackets(std::string_view text)
{
    while (!text.empty() && (text.front() == '(' || text.front() == ')')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == '(' || text.back() == ')')) {
        text.remove_suffix(1);
    }
    return text;
}

class Reader {
public:
    void ParseInto(std::string_view text, LexemList& out, int depth);

private:
    static void SplitNumbers(std::string_view run, LexemList& out);
    std::unique_ptr<CLexem> ReadTemplate(TemplateType type, std::string_view& rest, int depth);
    // Reads an argument into a row; a line break there is a syntax error.
    void Fill(CLexemRow* row, std::string_view text, int depth);
    void FillDigits(CNumPartRow* part, std::string_view text, int depth);
    std::unique_ptr<CLexem> ReadName(std::string_view& rest, bool atom);
    static std::unique_ptr<CLexem> MergeIndexFunc(std::unique_ptr<CLexem> lexem);
};

void Reader::ParseInto(std::string_view text, LexemList& out, int depth)
{
    if (depth > CLexemParser::kMaxDepth) {
        Syntax(msg::TooDeep);
    }
    while (!text.empty()) {
        if (text.front() != '@') {
            const std::string_view run = text.substr(0, text.find_first_of("#@"));
            if (run.empty()) {
                Unsupported();  // a plain "#" could never be written back
            }
            for (char ch : run) {
                if (!IsFormulaChar(ch) || ch == '$') {
                    Unsupported();
                }
            }
            SplitNumbers(run, out);
            text.remove_prefix(run.size());
            continue;
        }
        char terminator = 0;
        const std::string name = CLexemParser::ReadTemplateName(text, terminator);
        if (name.empty()) {
            if (terminator != '#') {
                Syntax(msg::WrongSyntax);
            }
            out.push_back(nullptr);
            continue;
        }
        if (terminator != '$') {
            Syntax(msg::WrongSyntax);
        }
        out.push_back(MergeIndexFunc(ReadTemplate(ReaderType(name), text, depth)));
    }
}

void Reader::SplitNumbers(std::string_view run, LexemList& out)
{
    const std::size_t n = run.size();
    auto digitsFrom = [&](std::size_t i) {
        while (i < n && IsDigitChar(run[i])) {
            ++i;
        }
        return i;
    };
    std::size_t i = 0;
    while (i < n) {
        std::size_t start = i;
        while (start < n && !IsDigitChar(run[start])) {
            ++start;
        }
        for (; i < start; ++i) {
            out.push_back(MakeCharLexem(run[i]));
        }
        if (start == n) {
            return;
        }
        std::size_t end = digitsFrom(start);
        bool separator = false;
        if (end + 1 < n && run[end] == kDecimalSeparator && IsDigitChar(run[end + 1])) {
            separator = true;
            end = digitsFrom(end + 1);
        }
        // 0,1(6) and 1,(3) carry a period; 12(3) does not.
        std::size_t period = end;
        if (!separator && period < n && run[period] == kDecimalSeparator) {
            ++period;
        }
        if ((separator || period > end) && period < n && run[period] == '(') {
            const std::size_t close = digitsFrom(period + 1);
            if (close > period + 1 && close < n && run[close] == ')') {
                out.push_back(std::make_unique<CPeriodNum>(run.substr(start, close + 1 - start)));
                i = close + 1;
                continue;
            }
        }
        out.push_back(std::make_unique<CRealNum>(run.substr(start, end - start)));
        i = end;
    }
}

void Reader::Fill(CLexemRow* row, std::string_view text, int depth)
{
    LexemList list;
    ParseInto(text, list, depth + 1);
    for (const auto& lexem : list) {
        if (!lexem) {
            Syntax(msg::WrongSyntax);
        }
    }
    row->InsertLexems(std::move(list));
}

// The digit rule of mixed numbers: brackets around the part are dropped; the
// rest must be empty or one integer, whose digits fill the part.
void Reader::FillDigits(CNumPartRow* part, std::string_view text, int depth)
{
    text = TrimBrackets(text);
    if (text.empty()) {
        return;
    }
    LexemList list;
    ParseInto(text, list, depth + 1);
    const CLexem* only = list.size() == 1 ? list.front().get() : nullptr;
    if (!only || !IsNumberRow(*only) || only->Type() != TemplateType::RealNum ||
        !static_cast<const CRealNum*>(only)->IsInteger()) {
        Syntax(msg::MixedFracDigits);
    }
    for (char digit : only->LexemText()) {
        part->AddChild(std::make_unique<CCharLexem>(digit));
    }
}

std::unique_ptr<CLexem> Reader::ReadName(std::string_view& rest, bool atom)
{
    const std::string_view name = ReadLastArg(rest);
    if (name.empty()) {
        Syntax(msg::WrongSyntax);
    }
    for (char ch : name) {
        if (!IsFormulaChar(ch)) {
            Unsupported();
        }
    }
    if (atom) {
        return std::make_unique<CSpecAtom>(name);
    }
    return std::make_unique<CRelationSign>(name);
}

std::unique_ptr<CLexem> Reader::ReadTemplate(TemplateType type, std::string_view& rest, int depth)
{
    switch (type) {
    case TemplateType::None:
    case TemplateType::Number:
    case TemplateType::IndexFunc:
    case TemplateType::RealNum:
    case TemplateType::BracketChar:
    case TemplateType::Char:
    case TemplateType::Aggregate:
        Syntax(msg::WrongSyntax);
    case TemplateType::OperatorSign:
        return ReadName(rest, false);
    case TemplateType::SpecAtom:
        return ReadName(rest, true);
    case TemplateType::Func: {
        const int id = GetFuncId(ReadArg(rest));
        const std::string_view argument = ReadLastArg(rest);
        if (id < 0) {
            Syntax(msg::WrongSyntax);
        }
        auto func = std::make_unique<CFuncTemplate>(id);
        Fill(func->Argument(), argument, depth);
        return func;
    }
    case TemplateType::HorFrac:
    case TemplateType::DiagFrac: {
        std::unique_ptr<CHorFracTemplate> fraction;
        if (type == TemplateType::HorFrac) {
            fraction = std::make_unique<CHorFracTemplate>();
        } else {
            fraction = std::make_unique<CDiagFracTemplate>();
        }
        Fill(fraction->Numerator(), ReadArg(rest), depth);
        Fill(fraction->Denominator(), ReadLastArg(rest), depth);
        return fraction;
    }
    case TemplateType::Index:
    case TemplateType::IndexUp:
    case TemplateType::IndexDn:
    case TemplateType::IndexUpDn: {
        auto index = std::make_unique<CIndexTemplate>();
        const bool upper = type == TemplateType::IndexUp || type == TemplateType::IndexUpDn;
        const bool lower = type == TemplateType::IndexDn || type == TemplateType::IndexUpDn;
        if (type == TemplateType::Index) {
            const std::string_view base = ReadArg(rest);
            const std::string_view up = ReadArg(rest);
            const std::string_view down = ReadLastArg(rest);
            Fill(index->Base(), base, depth);
            if (!up.empty()) {
                index->SetUpper(true);
                Fill(index->Upper(), up, depth);
            }
            if (!down.empty()) {
                index->SetLower(true);
                Fill(index->Lower(), down, depth);
            }
            return index;
        }
        Fill(index->Base(), ReadArg(rest), depth);
        index->SetUpper(upper);
        index->SetLower(lower);
        if (upper) {
            Fill(index->Upper(), lower ? ReadArg(rest) : ReadLastArg(rest), depth);
        }
        if (lower) {
            Fill(index->Lower(), ReadLastArg(rest), depth);
        }
        return index;
    }
    case TemplateType::ProgMem: {
        auto member = std::make_unique<CProgMemTemplate>();
        Fill(member->Base(), ReadArg(rest), depth);
        Fill(member->Lower(), ReadLastArg(rest), depth);
        return member;
    }
    case TemplateType::SubSup:
    case TemplateType::IntegrationLimit: {
        std::unique_ptr<CSubSupTemplate> subsup;
        if (type == TemplateType::SubSup) {
            subsup = std::make_unique<CSubSupTemplate>();
        } else {
            subsup = std::make_unique<CIntegrationLimitTemplate>();
        }
        Fill(subsup->Base(), ReadArg(rest), depth);
        Fill(subsup->Upper(), ReadArg(rest), depth);
        Fill(subsup->Lower(), ReadLastArg(rest), depth);
        return subsup;
    }
    case TemplateType::System:
    case TemplateType::Union: {
        auto system = std::make_unique<CSystemTemplate>(type == TemplateType::Union, true);
        bool more = true;
        while (more) {
            const std::string_view text = ReadLast(rest, &more);
            CLineRow* line = system->InsertNewRow(nullptr, false);
            LexemList list;
            ParseInto(text, list, depth + 1);
            line->InsertLexems(std::move(list));
        }
        return system;
    }
    case TemplateType::MixedFrac:
    case TemplateType::SimpleFrac: {
        auto fraction = std::make_unique<CMixedFracTemplate>(type == TemplateType::MixedFrac);
        if (fraction->WholePart()) {
            FillDigits(fraction->WholePart(), ReadArg(rest), depth);
        }
        FillDigits(fraction->Numerator(), ReadArg(rest), depth);
        FillDigits(fraction->Denominator(), ReadLastArg(rest), depth);
        return fraction;
    }
    case TemplateType::Deriv: {
        bool more = false;
        const std::string_view body = ReadLast(rest, &more);
        if (!more) {
            auto deriv = std::make_unique<CDerivTemplate>();
            Fill(deriv->Body(), body, depth);
            return deriv;
        }
        auto deriv = std::make_unique<CNDerivTemplate>();
        Fill(deriv->Body(), body, depth);
        Fill(deriv->Order(), ReadLastArg(rest), depth);
        return deriv;
    }
    case TemplateType::BrRound:
    case TemplateType::BrPersistRound:
    case TemplateType::BrAbs:
    case TemplateType::BrSquare:
    case TemplateType::BrFigure: {
        std::unique_ptr<CBracketsTemplate> brackets;
        if (type == TemplateType::BrFigure) {
            brackets = std::make_unique<CRangeTemplate>();
        } else if (type == TemplateType::BrAbs) {
            brackets = std::make_unique<CBracketsTemplate>(BracketKind::Abs, false);
        } else if (type == TemplateType::BrSquare) {
            brackets = std::make_unique<CBracketsTemplate>(BracketKind::Square, false);
        } else {
            brackets = std::make_unique<CBracketsTemplate>(BracketKind::Round, type == TemplateType::BrPersistRound);
        }
        Fill(brackets->Content(), ReadLastArg(rest), depth);
        return brackets;
    }
    case TemplateType::SqrRoot:
    case TemplateType::SqrtCan: {
        auto root = std::make_unique<CSqrtTemplate>(type);
        Fill(root->Radicand(), ReadLastArg(rest), depth);
        return root;
    }
    case TemplateType::Interval: {
        const bool left = IsNonZeroDecimal(ReadArg(rest));
        const bool right = IsNonZeroDecimal(ReadArg(rest));
        auto interval = std::make_unique<CIntervalTemplate>(left ? BracketKind::Square : BracketKind::Round,
                                                            right ? BracketKind::Square : BracketKind::Round);
        Fill(interval->LeftEnd(), ReadArg(rest), depth);
        Fill(interval->RightEnd(), ReadLastArg(rest), depth);
        return interval;
    }
    case TemplateType::Bool:
        return std::make_unique<CBoolTemplate>(IsNonZeroDecimal(ReadLastArg(rest)));
    case TemplateType::Root: {
        auto root = std::make_unique<CRootTemplate>();
        Fill(root->Degree(), ReadArg(rest), depth);
        Fill(root->Radicand(), ReadLastArg(rest), depth);
        return root;
    }
    case TemplateType::Lim: {
        auto lim = std::make_unique<CLimTemplate>();
        Fill(lim->Body(), ReadArg(rest), depth);
        Fill(lim->Variable(), ReadArg(rest), depth);
        Fill(lim->Value(), ReadLastArg(rest), depth);
        return lim;
    }
    case TemplateType::Integral: {
        auto integral = std::make_unique<CIntegralTemplate>(true);
        Fill(integral->Body(), ReadArg(rest), depth);
        Fill(integral->LowerLimit(), ReadArg(rest), depth);
        Fill(integral->UpperLimit(), ReadLastArg(rest), depth);
        return integral;
    }
    case TemplateType::IntegralUndef: {
        auto integral = std::make_unique<CIntegralTemplate>(false);
        Fill(integral->Body(), ReadLastArg(rest), depth);
        return integral;
    }
    case TemplateType::Summa: {
        auto sum = std::make_unique<CSummaTemplate>();
        Fill(sum->Body(), ReadArg(rest), depth);
        Fill(sum->UpperLimit(), ReadArg(rest), depth);
        Fill(sum->LowerLimit(), ReadLastArg(rest), depth);
        return sum;
    }
    }
    Syntax(msg::WrongSyntax);
}

// The written form of an indexed function, index templates around a function
// template, reads back as one CIndexFuncTemplate.
std::unique_ptr<CLexem> Reader::MergeIndexFunc(std::unique_ptr<CLexem> lexem)
{
    const TemplateType type = lexem->Type();
    if (type != TemplateType::IndexUp && type != TemplateType::IndexDn && type != TemplateType::IndexUpDn) {
        return lexem;
    }
    auto* index = static_cast<CIndexTemplate*>(lexem.get());
    CBodyRow* base = index->Base();
    if (base->ElementCount() != 1) {
        return lexem;
    }
    CLexem* inner = base->Child(base->FirstPos());
    if (inner->Type() == TemplateType::Func) {
        auto* func = static_cast<CFuncTemplate*>(inner);
        auto merged = std::make_unique<CIndexFuncTemplate>(func->FuncId());
        LexemList argument;
        func->Argument()->DetachAll(argument);
        merged->Base()->InsertLexems(std::move(argument));
        index->MoveIndicesTo(*merged);
        return merged;
    }
    if (inner->Type() == TemplateType::IndexFunc) {
        auto* func = static_cast<CIndexFuncTemplate*>(inner);
        if ((index->Upper() && func->Upper()) || (index->Lower() && func->Lower())) {
            return lexem;
        }
        auto merged = std::make_unique<CIndexFuncTemplate>(func->FuncId());
        func->MoveAllTo(*merged);
        if (index->Upper()) {
            index->MoveUpperTo(*merged);
        }
        if (index->Lower()) {
            index->MoveLowerTo(*merged);
        }
        return merged;
    }
    return lexem;
}

}  // namespace

std::string CLexemParser::ReadTemplateName(std::string_view& text, char& terminator)
{
    if (text.empty() || text.front() != '@') {
        Syntax(msg::TemplateStart);
    }
    std::string name;
    std::size_t i = 1;
    for (; i < text.size() && text[i] != '#' && text[i] != '$' && text[i] != '@'; ++i) {
        if (text[i] != ' ') {
            name += text[i];
        }
    }
    if (i >= text.size()) {
        Syntax(msg::TemplateNameEnd);
    }
    terminator = text[i];
    text.remove_prefix(i + 1);
    return name;
}

void CLexemParser::Parse(std::string& text, LexemList& list)
{
    Reader().ParseInto(text, list, 0);
    text.clear();
}

LexemList CLexemParser::Parse(std::string_view text)
{
    LexemList list;
    Reader().ParseInto(text, list, 0);
    return list;
}

}  // namespace formula
