#include "formula/transform/multi_selection.h"

#include "formula/edit/selection.h"
#include "formula/env/formula_env.h"
#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/aplan_writer.h"
#include "formula/transform/tree_walks.h"

namespace formula {

struct CRowMultySel::Item {
    COperationNode* node = nullptr;
    // The term's lexemes ('-' sign taken in), or the line.
    std::unique_ptr<CSelection> highlight;
    // Any other sign of the term ("+" or "*" before it).
    std::unique_ptr<CSelection> sign;
    // Term mode: the row run of the item.
    walk::NodeRun run;
    // Line mode: the line and its template.
    CMultiRowTemplate* lines = nullptr;
    CLineRow* line = nullptr;
};

namespace {

// The chain of one operation: the node holding its sign nodes, and its class.
struct Chain {
    const COperationNode* holder = nullptr;
    int signClass = 0;
};

Chain ChainOf(const COperationNode* operation)
{
    const COperationNode* sign = operation ? operation->Parent() : nullptr;
    return {sign ? sign->Parent() : nullptr, operation ? operation->SignClass() : 0};
}

bool Overlaps(const walk::NodeRun& a, const walk::NodeRun& b)
{
    return a.row == b.row && a.first <= b.last && b.first <= a.last;
}

// The line row root above a node inside a multi-row template.
COperationNode* LineRootOf(COperationNode* node, const COperationNode* multiRow)
{
    while (node && node->Parent() != multiRow) {
        node = node->Parent();
    }
    return node;
}

void DeleteLexem(CLexem* lexem)
{
    CLexemRow* row = AsRow(lexem ? lexem->Parent() : nullptr);
    const int pos = row ? row->IndexOf(lexem) : -1;
    if (pos >= 0) {
        row->Detach(pos);
    }
}

}  // namespace

CRowMultySel::CRowMultySel(CFormulaEnv& env)
    : m_env(env)
{
}

CRowMultySel::~CRowMultySel() = default;

COperationNode* CRowMultySel::ItemNode(int i) const
{
    return i >= 0 && i < Count() ? m_items[static_cast<std::size_t>(i)]->node : nullptr;
}

void CRowMultySel::Clear(bool unmark)
{
    for (const auto& item : m_items) {
        item->highlight->Clear(unmark);
        if (item->sign) {
            item->sign->Clear(unmark);
        }
    }
    m_items.clear();
    m_leadingMinus = false;
    m_mode = Mode::Term;
}

bool CRowMultySel::Add(COperationNode* node)
{
    if (!node) {
        return false;
    }
    if (m_items.empty()) {
        const COperationNode* multiRow = walk::EnclosingMultiRow(node);
        const CLexem* lexem = multiRow ? multiRow->Lexeme() : nullptr;
        const bool lineNode = walk::IsRelationNode(node) || (node->IsRowRoot() && node->Parent() == multiRow);
        if (lineNode && lexem && (lexem->Type() == TemplateType::System || lexem->Type() == TemplateType::Union)) {
            m_mode = Mode::Line;
            return AddLine(node);
        }
        m_mode = Mode::Term;
    }
    return m_mode == Mode::Line ? AddLine(node) : AddTerm(node);
}

bool CRowMultySel::AddTerm(COperationNode* node)
{
    COperationNode* operation = walk::OperationOf(node);
    if (!operation) {
        return false;
    }
    walk::NodeRun run = walk::RunOf(operation);
    if (!run.Valid()) {
        return false;
    }
    if (!m_items.empty()) {
        const Item& first = *m_items.front();
        const Chain mine = ChainOf(operation);
        const Chain theirs = ChainOf(first.node);
        if (operation->Depth() > first.node->Depth() || mine.holder != theirs.holder ||
            mine.signClass != theirs.signClass) {
            return false;
        }
        for (const auto& item : m_items) {
            if (Overlaps(item->run, run) || walk::Contains(item->node, operation)) {
                return false;
            }
        }
    }
    auto item = std::make_unique<Item>();
    item->node = operation;
    item->highlight = std::make_unique<CSelection>(&m_env);
    // The sign that belongs to the term: a '-' is taken into the item.
    if (run.first > run.row->FirstPos()) {
        const COperatorSign* sign = AsOperatorSign(run.row->Child(run.first - 1));
        if (sign && sign->PriorityClass() == operation->SignClass() && sign->Kind() == LexemKind::Character) {
            if (sign->Char() == '-') {
                --run.first;
                if (m_items.empty()) {
                    m_leadingMinus = true;
                }
            } else {
                item->sign = std::make_unique<CSelection>(&m_env);
                item->sign->SelectRange(*run.row, run.first - 1, run.first - 1);
            }
        }
    }
    item->run = run;
    item->highlight->SelectRange(*run.row, run.first, run.last);
    m_items.push_back(std::move(item));
    return true;
}

bool CRowMultySel::AddLine(COperationNode* node)
{
    COperationNode* multiRow = walk::EnclosingMultiRow(node);
    auto* lines = dynamic_cast<CMultiRowTemplate*>(multiRow ? multiRow->Lexeme() : nullptr);
    const bool lineNode = walk::IsRelationNode(node) || (node->IsRowRoot() && node->Parent() == multiRow);
    if (!lines || !lineNode || (lines->Type() != TemplateType::System && lines->Type() != TemplateType::Union)) {
        return false;
    }
    COperationNode* root = LineRootOf(node, multiRow);
    CLexem* first = root ? root->First() : nullptr;
    auto* line = dynamic_cast<CLineRow*>(first ? first->Parent() : nullptr);
    const int index = line ? lines->IndexOfRow(line) : -1;
    if (index < 0) {
        return false;
    }
    for (const auto& item : m_items) {
        if (item->lines != lines || item->line == line) {
            return false;
        }
    }
    auto item = std::make_unique<Item>();
    item->node = root;
    item->lines = lines;
    item->line = line;
    item->highlight = std::make_unique<CSelection>(&m_env);
    item->highlight->SelectLines(*lines, index, index);
    m_items.push_back(std::move(item));
    return true;
}

std::string CRowMultySel::GetAplanText() const
{
    std::string text;
    if (m_items.empty()) {
        return text;
    }
    if (m_mode == Mode::Line) {
        text = m_items.front()->lines->Type() == TemplateType::System ? "System(" : "Union(";
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (i > 0) {
                text += " &! ";
            }
            text += m_items[i]->line ? AplanText(*m_items[i]->line) : kNoLexemText;
        }
        return text + ")";
    }
    std::string signText;
    AplanContext context;
    if (const CLexem* label = m_items.front()->node->Lexeme()) {
        label->GetAplanText(signText, context);
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = *m_items[i];
        if (i > 0) {
            text += signText;
        }
        text += '(';
        if (item.run.Valid()) {
            item.run.row->GetAplanTextRange(item.run.first, item.run.last, text, context);
        } else {
            text += kNoLexemText;
        }
        text += ')';
    }
    return text;
}

std::string CRowMultySel::ItemLexemText(const Item& item) const
{
    if (item.line) {
        return item.line->LexemText();
    }
    std::string text;
    for (int pos = item.run.first; pos <= item.run.last; ++pos) {
        item.run.row->Child(pos)->GetLexemText(text);
    }
    return text;
}

std::string CRowMultySel::GetLexemText() const
{
    std::string text;
    std::string signText;
    if (m_mode == Mode::Term && !m_items.empty()) {
        if (const CLexem* label = m_items.front()->node->Lexeme()) {
            signText = label->LexemText();
        }
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const std::string item = ItemLexemText(*m_items[i]);
        if (i > 0) {
            if (m_mode == Mode::Line) {
                text += "@#";
            } else if (item.empty() || item.front() != '-') {
                text += signText;
            }
        }
        text += item;
    }
    return text;
}

bool CRowMultySel::Replace(LexemList&& list)
{
    if (m_items.empty()) {
        return false;
    }
    // What goes besides the first item, by lexeme or line.
    std::vector<CLexem*> doomed;
    std::vector<std::pair<CMultiRowTemplate*, CLineRow*>> doomedLines;
    for (std::size_t i = 1; i < m_items.size(); ++i) {
        Item& item = *m_items[i];
        if (item.line) {
            doomedLines.emplace_back(item.lines, item.line);
            continue;
        }
        if (item.sign) {
            doomed.push_back(item.run.row->Child(item.run.first - 1));
        }
        for (int pos = item.run.first; pos <= item.run.last; ++pos) {
            doomed.push_back(item.run.row->Child(pos));
        }
    }
    const walk::NodeRun firstRun = m_items.front()->run;
    std::unique_ptr<CSelection> firstLines;
    if (m_items.front()->line) {
        firstLines = std::move(m_items.front()->highlight);
        m_items.front()->highlight = std::make_unique<CSelection>(&m_env);
    }
    Clear(true);
    if (firstLines) {
        firstLines->Replace(std::move(list));
    } else {
        walk::PutInPlace(*firstRun.row, firstRun.first, firstRun.last, std::move(list));
    }
    for (CLexem* lexem : doomed) {
        DeleteLexem(lexem);
    }
    for (const auto& [lines, line] : doomedLines) {
        const int index = lines->IndexOfRow(line);
        if (index >= 0 && lines->GetRowCount() > 1) {
            lines->DeleteRows(index, index);
        }
    }
    m_env.MarkLayoutStale();
    return true;
}

const CLexemRow* CRowMultySel::ReplacedRow() const
{
    if (m_items.empty()) {
        return nullptr;
    }
    const Item& first = *m_items.front();
    if (first.line) {
        return first.line;
    }
    return first.run.row;
}

void CRowMultySel::DrawBackground(Canvas& canvas) const
{
    for (const auto& item : m_items) {
        item->highlight->DrawBackground(canvas);
        if (item->sign) {
            item->sign->DrawBackground(canvas);
        }
    }
}

}  // namespace formula
