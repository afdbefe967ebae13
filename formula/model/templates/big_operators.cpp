#include "formula/model/templates/big_operators.h"

#include "formula/model/templates/template_kinds.h"

namespace formula {

CBigOperatorTemplate::CBigOperatorTemplate(TemplateType type, bool withLimits)
    : CTemplate(type, TemplateGroup::BigOperator)
    , m_body(MakeRow<CBodyRow>())
{
    SetLimits(withLimits);
}

void CBigOperatorTemplate::SetLimits(bool on)
{
    if (on) {
        if (!m_upper) {
            m_upper = MakeRow<CIndexRow>();
        }
        if (!m_lower) {
            m_lower = MakeRow<CIndexRow>();
        }
    } else {
        m_upper.reset();
        m_lower.reset();
    }
}

void CBigOperatorTemplate::Normalize(ParseContext& context)
{
    NormalizeRows(context, {m_body.get(), m_upper.get(), m_lower.get()}, true);
}

PartList CBigOperatorTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_upper.get());
    parts.Add(m_lower.get());
    parts.Add(m_body.get());
    return parts;
}

CLexemRow* CBigOperatorTemplate::CursorRow(int n) const
{
    switch (n) {
    case 1:
        return m_upper.get();
    case 2:
        return m_lower.get();
    case 3:
        return m_body.get();
    }
    return nullptr;
}

CursorRoute CBigOperatorTemplate::ArriveRoute(Direction dir) const
{
    switch (dir) {
    case Direction::Right:
        return Route(Enter(1, Direction::Right), Enter(3, Direction::Right), kStop);
    case Direction::Up:
        return Route(Enter(2, Direction::Up), Enter(3, Direction::Up), kStop);
    case Direction::Down:
        return Route(Enter(1, Direction::Down), Enter(3, Direction::Down), kStop);
    case Direction::Left:
    case Direction::ToPoint:
        break;
    }
    return Route(kStop);
}

// The limits' column first, then the body.
CursorRoute CBigOperatorTemplate::MoveRoute(int from, Direction dir) const
{
    switch (from) {
    case 0:
        switch (dir) {
        case Direction::Left:
            return Route(Enter(3, Direction::Left));
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Down:
            return Route(Enter(2, Direction::Down));
        case Direction::Right:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    case 1:
    case 2: {
        const bool upper = from == 1;
        switch (dir) {
        case Direction::Right:
            return Route(Enter(3, Direction::Right));
        case Direction::Down:
            return upper ? Route(Enter(2, Direction::Down), Enter(3, Direction::Down)) : Route(kLeave);
        case Direction::Up:
            return upper ? Route(kLeave) : Route(Enter(1, Direction::Up), Enter(3, Direction::Up));
        case Direction::Left:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    }
    case 3:
        switch (dir) {
        case Direction::Right:
            return Route(kStop);
        case Direction::Left:
            return Route(Enter(1, Direction::Left), Enter(2, Direction::Left));
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Down:
            return Route(Enter(2, Direction::Down));
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    }
    return Route(kLeave);
}

CIntegralTemplate::CIntegralTemplate(bool definite)
    : CBigOperatorTemplate(definite ? TemplateType::Integral : TemplateType::IntegralUndef, definite)
{
}

void CIntegralTemplate::SetDefinite(bool definite)
{
    SetLimits(definite);
    SetType(definite ? TemplateType::Integral : TemplateType::IntegralUndef);
}

void CIntegralTemplate::GetLexemText(std::string& out) const
{
    if (IsDefinite()) {
        WriteTemplateText(out, GetTemplateName(TemplateType::Integral), {m_body.get(), m_lower.get(), m_upper.get()});
    } else {
        WriteTemplateText(out, GetTemplateName(TemplateType::IntegralUndef), {m_body.get()});
    }
}

CSummaTemplate::CSummaTemplate()
    : CBigOperatorTemplate(TemplateType::Summa, true)
{
}

void CSummaTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, GetTemplateName(Type()), {m_body.get(), m_upper.get(), m_lower.get()});
}

}  // namespace formula
