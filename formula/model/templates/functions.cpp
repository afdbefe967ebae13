#include "formula/model/templates/functions.h"

#include <iterator>
#include <string>


namespace formula {

std::string_view GetFuncName(int funcId)
{
    if (funcId < 1 || funcId >= static_cast<int>(std::size(kFuncNames))) {
        return {};
    }
    return kFuncNames[funcId];
}

int GetFuncId(std::string_view name, bool caseSensitive)
{
    std::string lowered(name);
    if (!caseSensitive) {
        for (char& ch : lowered) {
            if (ch >= 'A' && ch <= 'Z') {
                ch = static_cast<char>(ch - 'A' + 'a');
            }
        }
    }
    for (int id = 1; id < static_cast<int>(std::size(kFuncNames)); ++id) {
        if (kFuncNames[id] == lowered) {
            return id;
        }
    }
    return -1;
}

CFuncTemplate::CFuncTemplate(int funcId)
    : CTemplate(TemplateType::Func, TemplateGroup::Function)
    , m_funcId(funcId)
    , m_argument(MakeRow<CArgRow>(true, false, true))
{
}

std::unique_ptr<CArgRow> CFuncTemplate::TakeArgument()
{
    std::unique_ptr<CArgRow> argument = std::move(m_argument);
    m_argument = MakeRow<CArgRow>(true, false, true);
    return argument;
}

void CFuncTemplate::GetLexemText(std::string& out) const
{
    out += "@func$";
    out += GetFuncName(m_funcId);
    out += '$';
    m_argument->GetLexemText(out);
    out += '#';
}

PartList CFuncTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_argument.get());
    return parts;
}

CLexemRow* CFuncTemplate::CursorRow(int n) const
{
    return n == 1 ? m_argument.get() : nullptr;
}

// Leaving the argument to the right, up or down stops after the function.
CursorRoute CFuncTemplate::MoveRoute(int from, Direction dir) const
{
    switch (dir) {
    case Direction::Left:
        return from == 0 ? Route(Enter(1, Direction::Left)) : Route(kLeave);
    case Direction::Right:
        return from == 0 ? Route(kLeave) : Route(kStop);
    case Direction::Up:
    case Direction::Down:
        return from == 0 ? Route(kLeave) : Route(kStop);
    case Direction::ToPoint:
        break;
    }
    return Route(kLeave);
}

}  // namespace formula
