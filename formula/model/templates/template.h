#pragma once
// Templates: structures that own argument rows. Each kind lists its parts
// (rows, and for the n-th root its square root) for the common operations
// (owner, selection, offset, normalising), and numbers the rows the cursor can
// enter: a template's cursor entry holds 0 for the template as a whole (the
// caret just after it) or the number of the row the cursor is in.
//
// Cursor moves are routes: on arrival from a direction, on a move from
// position 0, or on leaving row n in a direction, a kind answers a short list
// of steps, tried in order: enter a row (when present) with a direction, stop
// at position 0, or leave the template.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "formula/model/lexem.h"

namespace formula {

class CLexemRow;

struct CursorStep {
    enum class Kind : std::uint8_t { Enter, Stop, Leave };
    Kind kind = Kind::Leave;
    std::int8_t row = 0;
    Direction dir = Direction::Left;
};

struct CursorRoute {
    std::array<CursorStep, 3> steps{};
    int count = 0;
};

constexpr CursorStep Enter(int row, Direction dir)
{
    return {CursorStep::Kind::Enter, static_cast<std::int8_t>(row), dir};
}
inline constexpr CursorStep kStop{CursorStep::Kind::Stop, 0, Direction::Left};
inline constexpr CursorStep kLeave{CursorStep::Kind::Leave, 0, Direction::Left};

constexpr CursorRoute Route(CursorStep a)
{
    return {{a, kLeave, kLeave}, 1};
}
constexpr CursorRoute Route(CursorStep a, CursorStep b)
{
    return {{a, b, kLeave}, 2};
}
constexpr CursorRoute Route(CursorStep a, CursorStep b, CursorStep c)
{
    return {{a, b, c}, 3};
}

// Up to six parts of a template, in order.
struct PartList {
    std::array<CLexem*, 6> items{};
    int count = 0;
    void Add(CLexem* part)
    {
        if (part) {
            items[static_cast<std::size_t>(count++)] = part;
        }
    }
    CLexem* const* begin() const { return items.data(); }
    CLexem* const* end() const { return items.data() + count; }
};

class CTemplate : public CLexem {
public:
    TemplateGroup Group() const { return m_group; }

    // Inserts a template into a row after a position, pushes it on the path
    // with position 0; its new position.
    static int InsertInto(std::unique_ptr<CTemplate> tmpl, CLexemRow& row, int pos, CCursorPath& path);

    void SetSelected(bool selected) override;
    void Offset(int dx, int dy) override;
    void SetOwner(CDisplaySettings* owner, CLexem* parent) override;
    bool PlaceCursor(CCursorPath& path, Direction dir, Point pt) override;
    bool MoveCursor(CCursorPath& path, Direction dir) override;
    bool HitTest(CCursorPath& path, Point pt) override;
    // Passes the pass to every part, stopping at the first fault.
    void Normalize(ParseContext& context) override;
    // A node for the template, each argument row's tree under it, each row
    // built with a fresh context (formula/optree/template_tree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;

    // The parts the common operations walk.
    virtual PartList Parts() const = 0;
    // How many levels of template nesting the lexeme text puts between this
    // template and one of its parts: one for "@name$part#".
    virtual int TextLevels(const CLexem& part) const;
    // The row behind cursor position n (1 and up); null when absent.
    virtual CLexemRow* CursorRow(int n) const;
    virtual int CursorRowCount() const { return 0; }

protected:
    CTemplate(TemplateType type, TemplateGroup group);

    virtual CursorRoute ArriveRoute(Direction dir) const;
    // from 0: a move from position 0; from n: row n was left in dir.
    virtual CursorRoute MoveRoute(int from, Direction dir) const;
    // Follows a route with the template on top of the path.
    bool FollowRoute(CCursorPath& path, const CursorRoute& route, Point pt);
    // Hit-tests row n with the template pushed at that position.
    bool HitRow(CCursorPath& path, int n, Point pt);
    // Normalises rows, each first tested for emptiness when asked.
    static void NormalizeRows(ParseContext& context, std::initializer_list<CLexemRow*> rows, bool requireFilled);

    // Makes an owned row of a class with its flags and this template as parent.
    template <class Row>
    std::unique_ptr<Row> MakeRow(bool headIsStop = true, bool bracketWhenCompound = false,
                                 bool alwaysBracketed = false);

private:
    TemplateGroup m_group;
};

template <class Row>
std::unique_ptr<Row> CTemplate::MakeRow(bool headIsStop, bool bracketWhenCompound, bool alwaysBracketed)
{
    auto row = std::make_unique<Row>();
    row->SetHeadIsStop(headIsStop);
    row->SetBracketWhenCompound(bracketWhenCompound);
    row->SetAlwaysBracketed(alwaysBracketed);
    row->SetOwner(m_owner, this);
    return row;
}

// Levels of template nesting around a lexeme in the text of the formula
// that holds it (0 in a line of the formula itself); the lexeme reader
// refuses a row deeper than CLexemParser::kMaxDepth.
int TextDepth(const CLexem& lexem);
// Levels of template nesting inside a lexeme's own text (0 for a leaf).
int TextHeight(const CLexem& lexem);

// Appends "@name$" a "$" b ... "#" for the given parts' texts.
void WriteTemplateText(std::string& out, std::string_view name, std::initializer_list<const CLexem*> parts);

inline const CTemplate* AsTemplate(const CLexem* lexem)
{
    return lexem && lexem->IsTemplate() ? static_cast<const CTemplate*>(lexem) : nullptr;
}
inline CTemplate* AsTemplate(CLexem* lexem)
{
    return lexem && lexem->IsTemplate() ? static_cast<CTemplate*>(lexem) : nullptr;
}

}  // namespace formula
