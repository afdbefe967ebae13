#include "solvehost/formula_text_layout.h"

#include <QStringList>

#include <algorithm>
#include <memory>

namespace solvehost {

namespace {

const QString kSpace = QStringLiteral("  ");
const QString kLineBreak = QStringLiteral("\n");

CLayoutTextItem* textOf(const CLayoutEntry& entry) { return static_cast<CLayoutTextItem*>(entry.item); }
CLayoutFormulaItem* formulaOf(const CLayoutEntry& entry) { return static_cast<CLayoutFormulaItem*>(entry.item); }

}  // namespace

QSize CFontMetricsMeasurer::TextExtent(const QString& text)
{
    return {m_metrics.horizontalAdvance(text), m_metrics.height()};
}

// ---- CLayoutFormulaItem ----

CLayoutFormulaItem::CLayoutFormulaItem(QWidget* owner, int childId) : m_control(new CSymbrantCtrl)
{
    m_created = m_control->Create(QString(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                  QRect(QPoint(10, 10), QPoint(99, 99)), owner, childId);
    if (m_created)
        m_control->UseViewer();
}

// The control window goes with the item.
CLayoutFormulaItem::~CLayoutFormulaItem() { delete m_control.data(); }

// ---- CLayoutItemList ----

CLayoutItemList::Node* CLayoutItemList::NewNode(Node* prev, Node* next, LayoutItemKind kind, CLayoutItem* item)
{
    Node* node = new Node{next, prev, kind, item, this};
    ++count;
    return node;
}

CLayoutItemList::Node* CLayoutItemList::AddTail(LayoutItemKind kind, CLayoutItem* item)
{
    Node* node = NewNode(tail, nullptr, kind, item);
    if (tail)
        tail->next = node;
    else
        head = node;
    tail = node;
    return node;
}

bool CLayoutItemList::RemoveTail(LayoutItemKind* kind, CLayoutItem** item)
{
    Node* node = tail;
    if (!node)
        return false;
    tail = node->prev;
    if (tail)
        tail->next = nullptr;
    else
        head = nullptr;
    if (kind)
        *kind = node->kind;
    if (item)
        *item = node->item;
    FreeNode(node);
    return true;
}

void CLayoutItemList::FreeNode(Node* node)
{
    if (!node)
        return;
    delete node;
    --count;
}

void CLayoutItemList::FreeAll()
{
    for (Node* node = head; node;) {
        Node* next = node->next;
        delete node;
        node = next;
    }
    head = nullptr;
    tail = nullptr;
    count = 0;
}

// ---- CFormulaTextLayout ----

CFormulaTextLayout::~CFormulaTextLayout() { RemoveAllItems(); }

bool CFormulaTextLayout::AddText(const QString& text)
{
    if (text.isEmpty())
        return false;
    const QStringList pieces = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            addItem(LayoutItemKind::Text, new CLayoutTextItem(kLineBreak));
        addPiece(pieces[i]);
    }
    return true;
}

void CFormulaTextLayout::addPiece(const QString& piece)
{
    if (piece.isEmpty())
        return;
    if (piece.startsWith(QLatin1Char(' ')))
        addItem(LayoutItemKind::Text, new CLayoutTextItem(kSpace));
    const QStringList words = piece.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        addItem(LayoutItemKind::Text, new CLayoutTextItem(word));
        addItem(LayoutItemKind::Text, new CLayoutTextItem(kSpace));
    }
    if (!piece.endsWith(QLatin1Char(' '))) {
        LayoutItemKind kind{};
        CLayoutItem* item = nullptr;
        if (m_items.RemoveTail(&kind, &item))
            deleteItem(kind, item);
    }
}

bool CFormulaTextLayout::AddFormula(const std::string& mathml, QWidget* owner)
{
    auto item = std::make_unique<CLayoutFormulaItem>(owner);
    if (!item->IsCreated())
        return false;
    CSymbrantCtrl* control = item->GetControl();
    control->UseViewer();
    control->SetMathMLText(mathml);
    control->GetOptimalSize(&item->width, &item->height);
    control->SetBackColor(m_backColor);
    control->SetShowAggregativeSymbol(false);
    addItem(LayoutItemKind::Formula, item.release());
    return true;
}

void CFormulaTextLayout::SetBackColor(OLE_COLOR colour)
{
    m_backColor = colour;
    for (CLayoutItemList::Node* node = m_items.head; node; node = node->next) {
        if (node->kind != LayoutItemKind::Formula)
            continue;
        if (CSymbrantCtrl* control = static_cast<CLayoutFormulaItem*>(node->item)->GetControl())
            control->SetBackColor(colour);
    }
}

int CFormulaTextLayout::BreakLines(int width, CTextMeasurer& measurer, bool force)
{
    const int usable = width - (m_leftMargin + m_rightMargin);
    // Kept lines keep their indents: nothing here is measured again.
    if (force || (usable != m_lastWidth && usable >= 1)) {
        m_lastWidth = usable;
        m_lines.assign(1, CLayoutLine{});
        int remaining = usable;

        const auto closeLine = [&] {
            if (m_alignment == 2)
                m_lines.back().indent = static_cast<std::int16_t>(std::max(remaining, 0) / 2);
        };
        const auto place = [&](const CLayoutEntry& entry, int w, bool newLine) {
            if (w < remaining && !newLine) {
                m_lines.back().items.push_back(entry);
                remaining -= w;
                return;
            }
            closeLine();
            m_lines.emplace_back();
            m_lines.back().items.push_back(entry);
            remaining = usable - w;
        };
        const auto measure = [&](CLayoutTextItem* text) {
            const QSize extent = measurer.TextExtent(text->text);
            const int w = text->text == kLineBreak ? 0 : extent.width();
            text->left = 0;
            text->top = 0;
            text->right = w;
            text->bottom = extent.height();
            return w;
        };

        for (CLayoutItemList::Node* node = m_items.head; node;) {
            const CLayoutEntry entry{node->kind, node->item};
            int w = 0;
            bool lineBreak = false;
            bool punctuation = false;
            if (node->kind == LayoutItemKind::Text) {
                CLayoutTextItem* text = textOf(entry);
                w = measure(text);
                lineBreak = text->text == kLineBreak;
                punctuation = IsPunctuation(text->text);
            } else {
                w = formulaOf(entry)->width;
            }
            if (!node->next || lineBreak || punctuation) {
                place(entry, w, lineBreak);
                node = node->next;
                continue;
            }
            // A word or formula moves to a new line together with the text
            // glued to it (up to the next space or formula) when the run does
            // not fit the rest of this line but fits a whole one.
            struct Glued {
                CLayoutEntry entry;
                int width;
            };
            std::vector<Glued> glued;
            int total = w;
            CLayoutItemList::Node* next = node->next;
            for (; next && next->kind == LayoutItemKind::Text; next = next->next) {
                CLayoutTextItem* text = static_cast<CLayoutTextItem*>(next->item);
                if (IsSpaceItem(text->text))
                    break;
                const int gw = measure(text);
                glued.push_back({{next->kind, next->item}, gw});
                total += gw;
            }
            place(entry, w, total > remaining && total < usable);
            for (const Glued& g : glued)
                place(g.entry, g.width, false);
            node = next;
        }
        closeLine();
    }

    int height = m_topMargin + m_bottomSpacing;
    for (const CLayoutLine& line : m_lines)
        height += GetLineHeight(line);
    return height;
}

int CFormulaTextLayout::Arrange(int width, CTextMeasurer& measurer, int top, bool force)
{
    BreakLines(width, measurer, force);
    int y = top + m_topMargin;
    int total = 0;
    for (const CLayoutLine& line : m_lines) {
        const int h = GetLineHeight(line);
        int x = m_leftMargin + line.indent;
        const int rightLimit = width - m_leftMargin - line.indent;
        int previousWidth = 0;
        for (const CLayoutEntry& entry : line.items) {
            if (entry.kind == LayoutItemKind::Text) {
                CLayoutTextItem* text = textOf(entry);
                const int w = text->Width();
                const int ih = text->Height();
                // A blank at the start of a line (or after a line break)
                // takes no room.
                if (previousWidth == 0 && IsSpaceItem(text->text))
                    x -= w;
                text->left = x;
                text->top = y + (m_topMargin + h - ih) / 2;
                text->right = x + w;
                text->bottom = text->top + ih;
                x += w;
                previousWidth = w;
                continue;
            }
            CLayoutFormulaItem* formula = formulaOf(entry);
            const int shown = std::max(0, std::min(formula->width, rightLimit - x));
            const int formulaTop = y + (m_topMargin + h - formula->height) / 2;
            if (CSymbrantCtrl* control = formula->GetControl()) {
                control->setGeometry(x, formulaTop, shown, formula->height);
                control->update();
                if (m_showGrid && m_gridStep > 0) {
                    const int step = m_gridStep;
                    control->SetGridData((step - x % step) % step, (step - formulaTop % step) % step, step, step,
                                         true, true, static_cast<std::int32_t>(m_gridColor));
                }
            }
            x += shown;
            previousWidth = shown;
        }
        y += h;
        total += h;
    }
    return 2 * m_topMargin + m_bottomMargin + total;
}

bool CFormulaTextLayout::GetText(QString& out) const
{
    out.clear();
    for (const CLayoutItemList::Node* node = m_items.head; node; node = node->next) {
        if (node->kind == LayoutItemKind::Text) {
            QString text = static_cast<const CLayoutTextItem*>(node->item)->text;
            out += text.replace(kSpace, QStringLiteral(" "));
        } else if (CSymbrantCtrl* control = static_cast<const CLayoutFormulaItem*>(node->item)->GetControl()) {
            out += QString::fromStdString(control->GetMathMLText());
        }
    }
    return true;
}

int CFormulaTextLayout::GetLineHeight(const CLayoutLine& line)
{
    int height = 0;
    for (const CLayoutEntry& entry : line.items) {
        const int h = entry.kind == LayoutItemKind::Text ? textOf(entry)->Height() : formulaOf(entry)->height;
        height = std::max(height, h);
    }
    return height;
}

bool CFormulaTextLayout::IsSpaceItem(const QString& text)
{
    return text == QStringLiteral(" ") || text == kSpace || text == kLineBreak;
}

bool CFormulaTextLayout::IsPunctuation(const QString& text)
{
    return text == QStringLiteral(".") || text == QStringLiteral(",") || text == QStringLiteral(":") ||
           IsSpaceItem(text);
}

void CFormulaTextLayout::deleteItem(LayoutItemKind kind, CLayoutItem* item)
{
    switch (kind) {
    case LayoutItemKind::Text: delete static_cast<CLayoutTextItem*>(item); return;
    case LayoutItemKind::Formula: delete static_cast<CLayoutFormulaItem*>(item); return;
    }
}

void CFormulaTextLayout::RemoveAllItems()
{
    for (CLayoutItemList::Node* node = m_items.head; node; node = node->next)
        deleteItem(node->kind, node->item);
    m_items.FreeAll();
    // The lines pointed at those items: an unforced arrangement at the same
    // width must not walk them.
    m_lines.clear();
    m_lastWidth = 0;
}

}  // namespace solvehost
