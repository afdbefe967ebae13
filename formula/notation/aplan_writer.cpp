#include "formula/notation/aplan_writer.h"

#include "formula/model/lexem_row.h"
#include "formula/model/numbers.h"

namespace formula {

std::string AplanText(const CLexem& lexem, bool* incomplete)
{
    AplanContext context;
    std::string text;
    lexem.GetAplanText(text, context);
    if (incomplete) {
        *incomplete = context.incomplete;
    }
    return text;
}

namespace aplan {
namespace {

struct Word {
    int code;
    std::string_view word;
};

// 204 and 205 carry the names the lexeme text and MathML give them.
constexpr Word kRelationWords[] = {
    {94, " perp "},          {163, "<=!"},           {176, " deg "},      {177, "+-"},
    {179, ">=!"},            {185, " <>! "},         {199, " &! "},       {200, " |! "},
    {204, " belongSet "},    {205, " belongEquSet "}, {206, " || "},      {207, " ||! "},
    {208, " corn "},         {219, " dbarrow "},     {220, " rlarrow "},  {222, " lrarrow "},
};

constexpr Word kAtomWords[] = {
    {109, " mu "}, {112, " pi "}, {165, " Sets(InfSet) "}, {194, " Sets(NumLine) "}, {198, " Sets(EmptySet) "},
};

template <std::size_t N>
std::string_view Find(const Word (&words)[N], int code)
{
    for (const Word& word : words) {
        if (word.code == code) {
            return word.word;
        }
    }
    return {};
}

}  // namespace

std::string_view RelationWord(int code)
{
    return Find(kRelationWords, code);
}

std::string_view AtomWord(int code)
{
    return Find(kAtomWords, code);
}

void WriteRowContent(const CLexemRow& row, std::string& out, AplanContext& context)
{
    row.GetAplanTextRange(row.FirstPos(), row.LastPos(), out, context);
}

void WriteOperand(const CLexemRow& row, std::string& out, AplanContext& context)
{
    const bool compound = row.ElementCount() > 1;
    if (compound) {
        out += '(';
    }
    WriteRowContent(row, out, context);
    if (compound) {
        out += ')';
    }
}

bool HoldsOneNumber(const CLexemRow& row)
{
    return row.ElementCount() == 1 && IsNumberRow(*row.Child(row.FirstPos()));
}

}  // namespace aplan
}  // namespace formula
