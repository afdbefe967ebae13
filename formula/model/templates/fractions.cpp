#include "formula/model/templates/fractions.h"

#include <cstdlib>

#include "formula/model/cursor_path.h"
#include "formula/model/templates/template_kinds.h"

namespace formula {

CHorFracTemplate::CHorFracTemplate()
    : CHorFracTemplate(TemplateType::HorFrac)
{
}

CHorFracTemplate::CHorFracTemplate(TemplateType type)
    : CTemplate(type, TemplateGroup::Fraction)
    , m_numerator(MakeRow<CArgRow>())
    , m_denominator(MakeRow<CArgRow>())
{
}

void CHorFracTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, GetTemplateName(Type()), {m_numerator.get(), m_denominator.get()});
}

bool CHorFracTemplate::HitTest(CCursorPath& path, Point pt)
{
    if (!IsPointInside(pt)) {
        return false;
    }
    if (std::abs(pt.y - m_box.axisY) > 2 && (HitRow(path, 1, pt) || HitRow(path, 2, pt))) {
        return true;
    }
    path.Push(this);
    path.SetPos(0);
    return true;
}

PartList CHorFracTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_numerator.get());
    parts.Add(m_denominator.get());
    return parts;
}

CLexemRow* CHorFracTemplate::CursorRow(int n) const
{
    switch (n) {
    case 1:
        return m_numerator.get();
    case 2:
        return m_denominator.get();
    }
    return nullptr;
}

CursorRoute CHorFracTemplate::ArriveRoute(Direction dir) const
{
    switch (dir) {
    case Direction::Right:
        return Route(Enter(1, Direction::Right), kStop);
    case Direction::Up:
        return Route(Enter(2, Direction::Up), kStop);
    case Direction::Left:
    case Direction::Down:
    case Direction::ToPoint:
        break;
    }
    return Route(kStop);
}

CursorRoute CHorFracTemplate::MoveRoute(int from, Direction dir) const
{
    switch (dir) {
    case Direction::Left:
        return from == 0 ? Route(Enter(1, Direction::Left)) : Route(kLeave);
    case Direction::Right:
        return from == 0 ? Route(kLeave) : Route(kStop);
    case Direction::Up:
        return from == 1 ? Route(kLeave) : Route(Enter(1, Direction::Up));
    case Direction::Down:
        return from == 2 ? Route(kLeave) : Route(Enter(2, Direction::Down));
    case Direction::ToPoint:
        break;
    }
    return Route(kLeave);
}

CDiagFracTemplate::CDiagFracTemplate()
    : CHorFracTemplate(TemplateType::DiagFrac)
{
}

bool CDiagFracTemplate::HitTest(CCursorPath& path, Point pt)
{
    return CTemplate::HitTest(path, pt);
}

// Numerator then denominator, left to right.
CursorRoute CDiagFracTemplate::MoveRoute(int from, Direction dir) const
{
    if (from == 0) {
        switch (dir) {
        case Direction::Left:
            return Route(Enter(2, Direction::Left));
        case Direction::Down:
            return Route(Enter(2, Direction::Down));
        case Direction::Up:
            return Route(Enter(1, Direction::Up));
        case Direction::Right:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    }
    if (from == 1) {
        switch (dir) {
        case Direction::Right:
            return Route(Enter(2, Direction::Right), kStop);
        case Direction::Down:
            return Route(Enter(2, Direction::Down), kStop);
        case Direction::Left:
        case Direction::Up:
        case Direction::ToPoint:
            break;
        }
        return Route(kLeave);
    }
    switch (dir) {
    case Direction::Right:
        return Route(kStop);
    case Direction::Left:
        return Route(Enter(1, Direction::Left));
    case Direction::Up:
        return Route(Enter(1, Direction::Up));
    case Direction::Down:
    case Direction::ToPoint:
        break;
    }
    return Route(kLeave);
}

CMixedFracTemplate::CMixedFracTemplate(bool mixed)
    : CTemplate(TemplateType::SimpleFrac, TemplateGroup::Fraction)
    , m_numerator(MakeRow<CNumPartRow>())
    , m_denominator(MakeRow<CNumPartRow>())
{
    SetMixed(mixed);
}

void CMixedFracTemplate::SetMixed(bool mixed)
{
    if (mixed && !m_whole) {
        m_whole = MakeRow<CNumPartRow>(false);
    } else if (!mixed) {
        m_whole.reset();
    }
    SetType(mixed ? TemplateType::MixedFrac : TemplateType::SimpleFrac);
}

void CMixedFracTemplate::GetLexemText(std::string& out) const
{
    if (m_whole) {
        WriteTemplateText(out, GetTemplateName(TemplateType::MixedFrac),
                          {m_whole.get(), m_numerator.get(), m_denominator.get()});
    } else {
        WriteTemplateText(out, GetTemplateName(TemplateType::SimpleFrac), {m_numerator.get(), m_denominator.get()});
    }
}

void CMixedFracTemplate::Normalize(ParseContext& context)
{
    NormalizeRows(context, {m_whole.get(), m_numerator.get(), m_denominator.get()}, true);
}

PartList CMixedFracTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_numerator.get());
    parts.Add(m_denominator.get());
    parts.Add(m_whole.get());
    return parts;
}

CLexemRow* CMixedFracTemplate::CursorRow(int n) const
{
    switch (n) {
    case 1:
        return m_numerator.get();
    case 2:
        return m_denominator.get();
    case 3:
        return m_whole.get();
    }
    return nullptr;
}

CursorRoute CMixedFracTemplate::ArriveRoute(Direction dir) const
{
    switch (dir) {
    case Direction::Right:
        return Route(Enter(3, Direction::Right), Enter(1, Direction::Right), kStop);
    case Direction::Up:
        return Route(Enter(2, Direction::Up), kStop);
    case Direction::Left:
    case Direction::Down:
    case Direction::ToPoint:
        break;
    }
    return Route(kStop);
}

// Whole part, then the fraction part as in the horizontal fraction.
CursorRoute CMixedFracTemplate::MoveRoute(int from, Direction dir) const
{
    switch (dir) {
    case Direction::Left:
        if (from == 0) {
            return Route(Enter(1, Direction::Left));
        }
        return from == 3 ? Route(kLeave) : Route(Enter(3, Direction::Left), kLeave);
    case Direction::Right:
        if (from == 0) {
            return Route(kLeave);
        }
        return from == 3 ? Route(Enter(1, Direction::Right), kStop) : Route(kStop);
    case Direction::Up:
        return from == 1 ? Route(kLeave) : Route(Enter(1, Direction::Up));
    case Direction::Down:
        return from == 2 ? Route(kLeave) : Route(Enter(2, Direction::Down));
    case Direction::ToPoint:
        break;
    }
    return Route(kLeave);
}

}  // namespace formula
