#include "formula/model/templates/roots.h"

#include "formula/model/templates/template_kinds.h"

namespace formula {

CSqrtTemplate::CSqrtTemplate(TemplateType type)
    : CTemplate(type == TemplateType::SqrtCan ? TemplateType::SqrtCan : TemplateType::SqrRoot, TemplateGroup::Plain)
    , m_radicand(MakeRow<CArgRow>())
{
}

void CSqrtTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, GetTemplateName(Type()), {m_radicand.get()});
}

PartList CSqrtTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_radicand.get());
    return parts;
}

CLexemRow* CSqrtTemplate::CursorRow(int n) const
{
    return n == 1 ? m_radicand.get() : nullptr;
}

CRootTemplate::CRootTemplate()
    : CTemplate(TemplateType::Root, TemplateGroup::Root)
    , m_degree(MakeRow<CIndexRow>())
    , m_sqrt(std::make_unique<CSqrtTemplate>(TemplateType::SqrRoot))
{
    m_sqrt->SetOwner(m_owner, this);
}

void CRootTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, GetTemplateName(Type()), {m_degree.get(), m_sqrt->Radicand()});
}

PartList CRootTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_degree.get());
    parts.Add(m_sqrt.get());
    return parts;
}

int CRootTemplate::TextLevels(const CLexem& part) const
{
    return &part == m_sqrt.get() ? 0 : 1;
}

CLexemRow* CRootTemplate::CursorRow(int n) const
{
    switch (n) {
    case 1:
        return m_degree.get();
    case 2:
        return m_sqrt->Radicand();
    }
    return nullptr;
}

CursorRoute CRootTemplate::ArriveRoute(Direction dir) const
{
    switch (dir) {
    case Direction::Right:
        return Route(Enter(1, Direction::Right), kStop);
    case Direction::Up:
        return Route(Enter(2, Direction::Up), kStop);
    case Direction::Down:
        return Route(Enter(1, Direction::Down), kStop);
    case Direction::Left:
    case Direction::ToPoint:
        break;
    }
    return Route(kStop);
}

// Degree, then radicand; the degree stands above.
CursorRoute CRootTemplate::MoveRoute(int from, Direction dir) const
{
    switch (dir) {
    case Direction::Up:
        return from == 1 ? Route(kLeave) : Route(Enter(1, Direction::Up));
    case Direction::Down:
        return from == 2 ? Route(kLeave) : Route(Enter(2, Direction::Down));
    case Direction::Left:
    case Direction::Right:
    case Direction::ToPoint:
        break;
    }
    return CTemplate::MoveRoute(from, dir);
}

}  // namespace formula
