// The normalising pass of rows: the readers and the editor insert flat
// characters, and this pass builds the structure (bracket templates, mixed
// numbers), drops blanks, and, while the owner's correction flag is on,
// corrects adjacent signs and removes redundant round brackets.
#include <algorithm>
#include <string>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/numbers.h"
#include "formula/model/parse_context.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/brackets.h"
#include "formula/model/templates/fractions.h"
#include "formula/notation/lexem_parser.h"

namespace formula {
namespace {

// Signs the correction looks at. The relation signs of the additive class
// (degree, angle, perpendicular, arrows, plus-minus, subsets) are written
// before or after their operand on purpose: "30°" or "∠A" would otherwise
// lose their sign.
const COperatorSign* CorrectableSign(const CLexem* lexem)
{
    const COperatorSign* sign = AsOperatorSign(lexem);
    if (sign && lexem->Kind() == LexemKind::RelationSign && sign->PriorityClass() == priority::Additive) {
        return nullptr;
    }
    return sign;
}

bool IsSignChar(const COperatorSign& sign, char ch)
{
    return sign.Kind() == LexemKind::Character && sign.Char() == ch;
}

enum class SignFix { None, ChildDeleted, PrevDeleted };

// What the correction does with a pair of adjacent signs (first, second).
SignFix PairFix(const COperatorSign& first, COperatorSign& second)
{
    const int a = first.PriorityClass();
    const int b = second.PriorityClass();
    if (a == b) {
        if (!IsSignChar(first, '-')) {
            return SignFix::PrevDeleted;  // a+-b -> a-b
        }
        if (IsSignChar(second, '-')) {
            second.SetSign('+');  // a--b -> a+b
            return SignFix::PrevDeleted;
        }
        return SignFix::ChildDeleted;  // a-+b -> a-b
    }
    using namespace priority;
    // A product sign before a sign of the sum keeps the product: dropping the
    // '*' would change the value (a*-b is not a-b).
    if (a == Product && IsSignChar(second, '-')) {
        return SignFix::None;  // a*-b stays
    }
    if (a == Product && IsSignChar(second, '+')) {
        return SignFix::ChildDeleted;  // a*+b -> a*b
    }
    if ((a == Additive && b == Relation) || (a == Product && (b == Additive || b == Relation))) {
        return SignFix::PrevDeleted;  // a+=b -> a=b, a*=b -> a=b
    }
    if ((a == Additive && b == Product) || (a == Relation && b == Product) ||
        (a == Relation && IsSignChar(second, '+'))) {
        return SignFix::ChildDeleted;  // a+*b -> a+b, a=+b -> a=b
    }
    if (a == Intersection && b == Union) {
        return SignFix::ChildDeleted;
    }
    if (a == Union && b == Intersection) {
        return SignFix::PrevDeleted;
    }
    if (a == Membership && (b == Union || b == Intersection)) {
        return SignFix::ChildDeleted;
    }
    return SignFix::None;
}

bool IsIntegerNumber(const CLexem* lexem)
{
    return lexem && IsNumberRow(*lexem) && lexem->Type() == TemplateType::RealNum &&
           static_cast<const CRealNum*>(lexem)->IsInteger();
}

// A row holding exactly one integer number.
bool HoldsSingleInteger(const CLexemRow& row)
{
    return row.ElementCount() == 1 && IsIntegerNumber(row.Child(row.FirstPos()));
}

// An integer followed by a fraction of two integers: the pass merges them
// into one mixed number.
bool MakesMixedNumber(const CLexem* prev, const CLexem* child)
{
    if (!IsIntegerNumber(prev)) {
        return false;
    }
    if (child->Type() == TemplateType::HorFrac) {
        const auto* fraction = static_cast<const CHorFracTemplate*>(child);
        return HoldsSingleInteger(*fraction->Numerator()) && HoldsSingleInteger(*fraction->Denominator());
    }
    if (child->Type() == TemplateType::SimpleFrac) {
        const auto* fraction = static_cast<const CMixedFracTemplate*>(child);
        return fraction->Numerator()->IsInteger() && fraction->Denominator()->IsInteger();
    }
    return false;
}

bool IsNumberChar(char ch)
{
    return IsDigitChar(ch) || ch == kDecimalSeparator;
}

// Two lexemes whose texts, written side by side, would read back as one
// number: "2" and "3" read as 23, "2" and "," as the start of 2,5. Templates
// are written between "@" and "#" and never run into their neighbours.
bool WouldReadAsOneNumber(const CLexem* left, const CLexem* right)
{
    if (!left || !right || left->IsTemplate() || right->IsTemplate()) {
        return false;
    }
    const std::string leftText = left->LexemText();
    const std::string rightText = right->LexemText();
    return !leftText.empty() && !rightText.empty() && IsNumberChar(leftText.back()) &&
           IsNumberChar(rightText.front());
}

// Whether the lexeme, put in place of round brackets between two
// neighbours, would join one of them into one number: the brackets of
// "2(3)" or "2(1/2)" keep the two apart.
bool JoinsANeighbour(const CLexem* prev, const CLexem* lexem, const CLexem* next)
{
    return WouldReadAsOneNumber(prev, lexem) || WouldReadAsOneNumber(lexem, next) ||
           MakesMixedNumber(prev, lexem) || (next && MakesMixedNumber(lexem, next));
}

void FillDigits(CNumPartRow& part, const std::string& digits)
{
    int pos = part.LastPos();
    for (char digit : digits) {
        const int at = part.InsertAfter(pos, std::make_unique<CCharLexem>(digit));
        pos = at >= 0 ? at : pos;
    }
}

}  // namespace

int CLexemRow::MatchBracket(int pos) const
{
    const CBracketChar* open = AsBracketChar(Child(pos));
    if (!open || open->GetSide() != BracketSide::Opening) {
        return -1;
    }
    int depth = 0;
    for (int i = pos + 1; i < Count(); ++i) {
        const CBracketChar* bracket = AsBracketChar(Child(i));
        if (!bracket || bracket->GetBracketKind() != open->GetBracketKind()) {
            continue;
        }
        if (bracket->GetSide() == BracketSide::Opening) {
            ++depth;
        } else if (bracket->GetSide() == BracketSide::Closing) {
            if (depth == 0) {
                return i;
            }
            --depth;
        }
    }
    return -1;
}

int CLexemRow::MakeBracketTemplate(int open, int close)
{
    const CBracketChar* bracket = AsBracketChar(Child(open));
    if (!bracket || close <= open || close >= Count()) {
        return -1;
    }
    // The content goes one level down, with everything nested in it: past
    // the depth the lexeme reader accepts, the brackets stay as typed.
    int height = 0;
    for (int i = open + 1; i < close; ++i) {
        height = std::max(height, TextHeight(*Child(i)));
    }
    if (TextDepth(*this) + 1 + height > CLexemParser::kMaxDepth) {
        return -1;
    }
    std::unique_ptr<CBracketsTemplate> tmpl;
    if (bracket->GetBracketKind() == BracketKind::Figure) {
        tmpl = std::make_unique<CRangeTemplate>();
    } else {
        tmpl = std::make_unique<CBracketsTemplate>(bracket->GetBracketKind(), false);
    }
    LexemList inner;
    DetachRange(open + 1, close, false, inner);
    tmpl->Content()->InsertLexems(std::move(inner));
    m_children.erase(m_children.begin() + open + 1);  // the closing character
    ReplaceChild(open, std::move(tmpl));
    return open;
}

bool CLexemRow::PairBrackets()
{
    bool paired = true;
    for (int pos = FirstPos(); pos < Count(); ++pos) {
        const CBracketChar* bracket = AsBracketChar(Child(pos));
        if (!bracket) {
            continue;
        }
        const int close = MatchBracket(pos);
        if (close < 0) {
            paired = paired && bracket->GetSide() == BracketSide::None;
            continue;
        }
        if (MakeBracketTemplate(pos, close) < 0) {
            paired = false;
            continue;
        }
        auto* tmpl = static_cast<CBracketsTemplate*>(Child(pos));
        paired = tmpl->Content()->PairBrackets() && paired;
    }
    return paired;
}

void CLexemRow::Normalize(ParseContext& context)
{
    const bool correct = CorrectionOn(*this);
    // Blanks go, except one between two lexemes that would otherwise read
    // back as one number ("1 2" is not 12).
    for (int pos = FirstPos(); pos < Count();) {
        if (!Child(pos)->IsSpace()) {
            ++pos;
            continue;
        }
        const bool endsRun = pos == LastPos() || !Child(pos + 1)->IsSpace();
        if (endsRun && pos > FirstPos() && pos < LastPos() && WouldReadAsOneNumber(Child(pos - 1), Child(pos + 1))) {
            ++pos;
            continue;
        }
        m_children.erase(m_children.begin() + pos);
    }
    // Closing characters of pairs left as typed (too deep for a template).
    std::vector<const CLexem*> typedClosings;
    int pos = FirstPos();
    while (pos < Count()) {
        CLexem* child = Child(pos);
        CLexem* prev = pos > 0 ? Child(pos - 1) : nullptr;

        if (const CBracketChar* bracket = AsBracketChar(child)) {
            if (bracket->GetSide() == BracketSide::Closing) {
                if (std::find(typedClosings.begin(), typedClosings.end(), child) == typedClosings.end()) {
                    context.invalid = true;
                    return;
                }
                ++pos;
                continue;
            }
            if (bracket->GetSide() == BracketSide::Opening) {
                const int close = MatchBracket(pos);
                if (close < 0) {
                    context.invalid = true;
                    return;
                }
                if (MakeBracketTemplate(pos, close) < 0) {
                    typedClosings.push_back(Child(close));
                    ++pos;
                    continue;
                }
                child = Child(pos);
                // Falls through to the template steps below.
            } else {
                ++pos;
                continue;
            }
        }

        if (correct) {
            if (const COperatorSign* sign = CorrectableSign(child)) {
                const int count = Count();
                SignFix fix = SignFix::None;
                if (pos == LastPos() && count >= 3 && !IsSignChar(*sign, '%')) {
                    fix = SignFix::ChildDeleted;  // x+ -> x
                } else if (prev && prev->Kind() == LexemKind::RowHead && count >= 3 && !IsSignChar(*sign, '-')) {
                    fix = SignFix::ChildDeleted;  // +x -> x
                } else if (const COperatorSign* first = CorrectableSign(prev)) {
                    fix = PairFix(*first, *AsOperatorSign(child));
                }
                if (fix == SignFix::ChildDeleted) {
                    m_children.erase(m_children.begin() + pos);
                    // A sign now at the end is looked at again, so that a
                    // run of signs at the end ("x*:") goes in one pass.
                    if (pos == Count() && pos - 1 >= FirstPos() && CorrectableSign(Child(pos - 1))) {
                        --pos;
                    }
                    continue;
                }
                if (fix == SignFix::PrevDeleted) {
                    m_children.erase(m_children.begin() + pos - 1);
                    --pos;
                    continue;
                }
            }
        }

        // 2 @hor_frac$1$2# -> @mixed_frac$2$1$2#, for integers only: the parts
        // of a mixed number are digit rows.
        if (MakesMixedNumber(prev, child)) {
            std::string numerator;
            std::string denominator;
            if (child->Type() == TemplateType::HorFrac) {
                const auto* fraction = static_cast<const CHorFracTemplate*>(child);
                numerator = fraction->Numerator()->LexemText();
                denominator = fraction->Denominator()->LexemText();
            } else {
                const auto* fraction = static_cast<const CMixedFracTemplate*>(child);
                numerator = fraction->Numerator()->LexemText();
                denominator = fraction->Denominator()->LexemText();
            }
            auto mixed = std::make_unique<CMixedFracTemplate>(true);
            FillDigits(*mixed->WholePart(), prev->LexemText());
            FillDigits(*mixed->Numerator(), numerator);
            FillDigits(*mixed->Denominator(), denominator);
            ReplaceChild(pos - 1, std::move(mixed));
            m_children.erase(m_children.begin() + pos);
            continue;
        }

        if (child->IsTemplate()) {
            child->Normalize(context);
            if (context.invalid) {
                return;
            }
            // (x) -> x, unless x would run into a neighbour: 2(3) is not 23
            if (correct && child->Type() == TemplateType::BrRound) {
                CArgRow* content = static_cast<CBracketsTemplate*>(child)->Content();
                const CLexem* next = pos < LastPos() ? Child(pos + 1) : nullptr;
                if (content->ElementCount() == 1 &&
                    !JoinsANeighbour(prev, content->Child(content->FirstPos()), next)) {
                    std::unique_ptr<CLexem> only = content->Detach(content->FirstPos());
                    ReplaceChild(pos, std::move(only));
                }
            }
        }
        ++pos;
    }
}

}  // namespace formula
