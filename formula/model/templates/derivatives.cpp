#include "formula/model/templates/derivatives.h"

#include "formula/model/chars.h"

namespace formula {

CDerivTemplate::CDerivTemplate()
    : CDerivTemplate(TemplateGroup::Derivative)
{
}

CDerivTemplate::CDerivTemplate(TemplateGroup group)
    : CTemplate(TemplateType::Deriv, group)
    , m_body(MakeRow<CBodyRow>(true, true))
{
    SetPrime(true);
}

void CDerivTemplate::SetPrime(bool on)
{
    if (on && !m_prime) {
        m_prime = MakeRow<CIndexRow>();
        m_prime->AddChild(std::make_unique<CCharLexem>('\''));
    } else if (!on) {
        m_prime.reset();
    }
}

void CDerivTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, "deriv", {m_body.get()});
}

void CDerivTemplate::Normalize(ParseContext& context)
{
    NormalizeRows(context, {m_body.get()}, true);
    if (Group() == TemplateGroup::NDerivative) {
        NormalizeRows(context, {m_prime.get()}, false);
    }
}

PartList CDerivTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_prime.get());
    parts.Add(m_body.get());
    return parts;
}

CLexemRow* CDerivTemplate::CursorRow(int n) const
{
    return n == 3 ? m_body.get() : nullptr;
}

CursorRoute CDerivTemplate::ArriveRoute(Direction dir) const
{
    switch (dir) {
    case Direction::Right:
    case Direction::Up:
    case Direction::Down:
        return Route(Enter(3, dir), kStop);
    case Direction::Left:
    case Direction::ToPoint:
        break;
    }
    return Route(kStop);
}

CursorRoute CDerivTemplate::MoveRoute(int from, Direction dir) const
{
    switch (dir) {
    case Direction::Left:
    case Direction::Up:
        return from == 0 ? Route(Enter(3, dir)) : Route(kLeave);
    case Direction::Right:
        return from == 0 ? Route(kLeave) : Route(kStop);
    case Direction::Down:
    case Direction::ToPoint:
        break;
    }
    return Route(kLeave);
}

CNDerivTemplate::CNDerivTemplate()
    : CDerivTemplate(TemplateGroup::NDerivative)
{
    m_prime->RemoveAll();
    m_prime->SetAlwaysBracketed(true);
}

void CNDerivTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, "deriv", {m_body.get(), m_prime.get()});
}

CLexemRow* CNDerivTemplate::CursorRow(int n) const
{
    return n == 1 ? m_prime.get() : CDerivTemplate::CursorRow(n);
}

// Body, then the order as an upper index.
CursorRoute CNDerivTemplate::MoveRoute(int from, Direction dir) const
{
    switch (from) {
    case 0:
        switch (dir) {
        case Direction::Left:
            return Route(Enter(1, Direction::Left), Enter(3, Direction::Left));
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Down:
            return Route(Enter(3, Direction::Down));
        case Direction::Right:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    case 1:
        switch (dir) {
        case Direction::Left:
            return Route(Enter(3, Direction::Left));
        case Direction::Right:
            return Route(kStop);
        case Direction::Down:
            return Route(Enter(3, Direction::Down));
        case Direction::Up:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    case 3:
        switch (dir) {
        case Direction::Right:
            return Route(Enter(1, Direction::Right), kStop);
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Left:
        case Direction::Down:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    }
    return Route(kLeave);
}

}  // namespace formula
