#include "formula/model/templates/index.h"

#include "formula/model/numbers.h"
#include "formula/model/templates/functions.h"
#include "formula/model/templates/template_kinds.h"

namespace formula {

CIndexTemplate::CIndexTemplate()
    : CIndexTemplate(TemplateType::Index, TemplateGroup::Index, true)
{
}

CIndexTemplate::CIndexTemplate(TemplateType type, TemplateGroup group, bool typeFollowsRows)
    : CTemplate(type, group)
    , m_base(MakeRow<CBodyRow>(true, true))
    , m_typeFollowsRows(typeFollowsRows)
{
}

std::unique_ptr<CLexemRow> CIndexTemplate::MakeLowerRow()
{
    return MakeRow<CLowerIndexRow>();
}

void CIndexTemplate::UpdateType()
{
    if (!m_typeFollowsRows) {
        return;
    }
    if (m_upper && m_lower) {
        SetType(TemplateType::IndexUpDn);
    } else if (m_upper) {
        SetType(TemplateType::IndexUp);
    } else if (m_lower) {
        SetType(TemplateType::IndexDn);
    } else {
        SetType(TemplateType::Index);
    }
}

void CIndexTemplate::SetLower(bool on)
{
    if (on && !m_lower) {
        m_lower = MakeLowerRow();
    } else if (!on) {
        m_lower.reset();
    }
    UpdateType();
}

void CIndexTemplate::SetUpper(bool on)
{
    if (on && !m_upper) {
        m_upper = MakeRow<CIndexRow>();
    } else if (!on) {
        m_upper.reset();
    }
    UpdateType();
}

void CIndexTemplate::MoveAllTo(CIndexTemplate& other)
{
    other.m_base = std::move(m_base);
    other.m_base->SetOwner(other.m_owner, &other);
    m_base = MakeRow<CBodyRow>(true, true);
    MoveIndicesTo(other);
}

void CIndexTemplate::MoveUpperTo(CIndexTemplate& other)
{
    other.m_upper = std::move(m_upper);
    if (other.m_upper) {
        other.m_upper->SetOwner(other.m_owner, &other);
    }
    UpdateType();
    other.UpdateType();
}

void CIndexTemplate::MoveLowerTo(CIndexTemplate& other)
{
    other.m_lower = std::move(m_lower);
    if (other.m_lower) {
        other.m_lower->SetOwner(other.m_owner, &other);
    }
    UpdateType();
    other.UpdateType();
}

void CIndexTemplate::MoveIndicesTo(CIndexTemplate& other)
{
    MoveUpperTo(other);
    MoveLowerTo(other);
}

void CIndexTemplate::GetLexemText(std::string& out) const
{
    if (m_upper && m_lower) {
        WriteTemplateText(out, GetTemplateName(TemplateType::IndexUpDn), {m_base.get(), m_upper.get(), m_lower.get()});
    } else if (m_upper) {
        WriteTemplateText(out, GetTemplateName(TemplateType::IndexUp), {m_base.get(), m_upper.get()});
    } else if (m_lower) {
        WriteTemplateText(out, GetTemplateName(TemplateType::IndexDn), {m_base.get(), m_lower.get()});
    } else {
        // No index row: "@index$base$$#" reads back as this shape.
        WriteTemplateText(out, "index", {m_base.get(), nullptr, nullptr});
    }
}

void CIndexTemplate::Normalize(ParseContext& context)
{
    NormalizeRows(context, {m_base.get(), m_upper.get(), m_lower.get()}, true);
}

PartList CIndexTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_upper.get());
    parts.Add(m_lower.get());
    parts.Add(m_base.get());
    return parts;
}

CLexemRow* CIndexTemplate::CursorRow(int n) const
{
    switch (n) {
    case 1:
        return m_upper.get();
    case 2:
        return m_lower.get();
    case 3:
        return m_base.get();
    }
    return nullptr;
}

CursorRoute CIndexTemplate::ArriveRoute(Direction dir) const
{
    switch (dir) {
    case Direction::Right:
        return Route(Enter(3, Direction::Right), kStop);
    case Direction::Up:
        return Route(Enter(2, Direction::Up), Enter(1, Direction::Up), kStop);
    case Direction::Down:
        return Route(Enter(1, Direction::Down), Enter(2, Direction::Down), kStop);
    case Direction::Left:
    case Direction::ToPoint:
        break;
    }
    return Route(kStop);
}

// Base, then the indexes. Without any index the base takes the indexes'
// place, so the caret never skips the place after the template.
CursorRoute CIndexTemplate::MoveRoute(int from, Direction dir) const
{
    switch (from) {
    case 0:
        switch (dir) {
        case Direction::Left:
            return Route(Enter(1, Direction::Left), Enter(2, Direction::Left), Enter(3, Direction::Left));
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Down:
            return Route(Enter(2, Direction::Down));
        case Direction::Right:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    case 3:
        switch (dir) {
        case Direction::Right:
            return Route(Enter(1, Direction::Right), Enter(2, Direction::Right), kStop);
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Down:
            return Route(Enter(2, Direction::Down));
        case Direction::Left:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    case 1:
    case 2: {
        const bool upper = from == 1;
        switch (dir) {
        case Direction::Left:
            return Route(Enter(3, Direction::Left));
        case Direction::Right:
            return Route(kStop);
        case Direction::Down:
            return upper ? Route(Enter(2, Direction::Down), kStop) : Route(kLeave);
        case Direction::Up:
            return upper ? Route(kLeave) : Route(Enter(1, Direction::Up), kStop);
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    }
    }
    return Route(kLeave);
}

CIndexFuncTemplate::CIndexFuncTemplate(int funcId)
    : CIndexTemplate(TemplateType::IndexFunc, TemplateGroup::Function, false)
    , m_funcId(funcId)
{
    m_base->SetAlwaysBracketed(true);
}

int CIndexFuncTemplate::TextLevels(const CLexem& part) const
{
    const int upper = m_upper ? 1 : 0;
    if (&part == m_upper.get()) {
        return 1;
    }
    if (&part == m_lower.get()) {
        return upper + 1;
    }
    return upper + (m_lower ? 1 : 0) + 1;
}

void CIndexFuncTemplate::GetLexemText(std::string& out) const
{
    if (m_upper) {
        out += "@index_up$";
    }
    if (m_lower) {
        out += "@index_dn$";
    }
    out += "@func$";
    out += GetFuncName(m_funcId);
    out += '$';
    m_base->GetLexemText(out);
    out += '#';
    if (m_lower) {
        out += '$';
        m_lower->GetLexemText(out);
        out += '#';
    }
    if (m_upper) {
        out += '$';
        m_upper->GetLexemText(out);
        out += '#';
    }
}

CSubSupTemplate::CSubSupTemplate()
    : CSubSupTemplate(TemplateType::SubSup)
{
}

CSubSupTemplate::CSubSupTemplate(TemplateType type)
    : CIndexTemplate(type, TemplateGroup::Index, false)
{
    SetUpper(true);
    SetLower(true);
}

void CSubSupTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, GetTemplateName(Type()), {m_base.get(), m_upper.get(), m_lower.get()});
}

CIntegrationLimitTemplate::CIntegrationLimitTemplate()
    : CSubSupTemplate(TemplateType::IntegrationLimit)
{
}

CProgMemTemplate::CProgMemTemplate()
    : CIndexTemplate(TemplateType::ProgMem, TemplateGroup::Index, false)
{
    SetLower(true);
}

std::unique_ptr<CLexemRow> CProgMemTemplate::MakeLowerRow()
{
    return MakeRow<CArgRow>(true, false, true);
}

void CProgMemTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, GetTemplateName(Type()), {m_base.get(), m_lower.get()});
}

}  // namespace formula

