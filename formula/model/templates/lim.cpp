#include "formula/model/templates/lim.h"

#include "formula/model/chars.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/template_kinds.h"

namespace formula {

CLimTemplate::CLimTemplate()
    : CTemplate(TemplateType::Lim, TemplateGroup::Lim)
    , m_body(MakeRow<CBodyRow>(true, true))
    , m_variable(MakeRow<CIndexRow>())
    , m_arrow(MakeRow<CIndexRow>())
    , m_value(MakeRow<CIndexRow>())
{
    m_arrow->AddChild(std::make_unique<CRelationSign>(symbol::Arrow));
}

void CLimTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, GetTemplateName(Type()), {m_body.get(), m_variable.get(), m_value.get()});
}

void CLimTemplate::Normalize(ParseContext& context)
{
    NormalizeRows(context, {m_body.get(), m_variable.get(), m_value.get()}, true);
}

PartList CLimTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_body.get());
    parts.Add(m_variable.get());
    parts.Add(m_arrow.get());
    parts.Add(m_value.get());
    return parts;
}

CLexemRow* CLimTemplate::CursorRow(int n) const
{
    switch (n) {
    case 1:
        return m_body.get();
    case 2:
        return m_variable.get();
    case 4:
        return m_value.get();
    }
    return nullptr;
}

CursorRoute CLimTemplate::ArriveRoute(Direction dir) const
{
    switch (dir) {
    case Direction::Right:
        return Route(Enter(2, Direction::Right), kStop);
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

CursorRoute CLimTemplate::MoveRoute(int from, Direction dir) const
{
    switch (from) {
    case 0:
        switch (dir) {
        case Direction::Left:
            return Route(Enter(1, Direction::Left));
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
        switch (dir) {
        case Direction::Right:
            return Route(kStop);
        case Direction::Left:
            return Route(Enter(4, Direction::Left));
        case Direction::Down:
            return Route(Enter(2, Direction::Down));
        case Direction::Up:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    case 2:
        switch (dir) {
        case Direction::Right:
            return Route(Enter(4, Direction::Right));
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Left:
        case Direction::Down:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    case 4:
        switch (dir) {
        case Direction::Right:
            return Route(Enter(1, Direction::Right));
        case Direction::Left:
            return Route(Enter(2, Direction::Left));
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Down:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    }
    return Route(kLeave);
}

}  // namespace formula
