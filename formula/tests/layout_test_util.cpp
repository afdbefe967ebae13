#include "formula/tests/layout_test_util.h"

#include "formula/model/lexem_row.h"
#include "formula/model/templates/multi_row.h"

namespace formula::test {

std::vector<CLexem*> PartsOf(CLexem& lexem)
{
    std::vector<CLexem*> parts;
    if (CLexemRow* row = AsRow(&lexem)) {
        for (int pos = 0; pos < row->Count(); ++pos) {
            parts.push_back(row->Child(pos));
        }
    } else if (lexem.IsMultiRow()) {
        auto& multi = static_cast<CMultiRowTemplate&>(lexem);
        for (int i = 0; i < multi.GetRowCount(); ++i) {
            parts.push_back(multi.GetRow(i));
        }
    } else if (CTemplate* tmpl = AsTemplate(&lexem)) {
        for (CLexem* part : tmpl->Parts()) {
            parts.push_back(part);
        }
    }
    return parts;
}

namespace {
void Collect(CLexem& lexem, std::vector<CLexem*>& out)
{
    out.push_back(&lexem);
    for (CLexem* part : PartsOf(lexem)) {
        Collect(*part, out);
    }
}
}  // namespace

std::vector<CLexem*> AllLexems(CLexem& root)
{
    std::vector<CLexem*> out;
    Collect(root, out);
    return out;
}

CLexem* FindLexem(CLexem& root, const std::function<bool(const CLexem&)>& predicate)
{
    for (CLexem* lexem : AllLexems(root)) {
        if (predicate(*lexem)) {
            return lexem;
        }
    }
    return nullptr;
}

CLexem* FindType(CLexem& root, TemplateType type)
{
    return FindLexem(root, [type](const CLexem& lexem) { return lexem.IsTemplate() && lexem.Type() == type; });
}

CLexem* FindChar(CLexem& root, char ch)
{
    return FindLexem(root, [ch](const CLexem& lexem) {
        return (lexem.Kind() == LexemKind::Character || lexem.Kind() == LexemKind::RelationSign) &&
               lexem.CharCode() == static_cast<unsigned char>(ch);
    });
}

}  // namespace formula::test
