#include "stepwell/app/solution_step.h"

#include <QPainter>

#include <algorithm>

#include "shared/settings.h"
#include "stepwell/app/theme.h"
#include "stepwell/model/description_text.h"
#include "stepwell/model/steps_geometry.h"

namespace stepwell {

using solvehost::CFontMetricsMeasurer;
using solvehost::CFormulaTextLayout;
using solvehost::CLayoutItemList;
using solvehost::CLayoutTextItem;
using solvehost::LayoutItemKind;

namespace {

int gridPhaseOf(int coordinate)
{
    const int step = shared::CSettings::Instance().GetGridStep();
    return step - (((coordinate % step) + step) % step);
}

std::unique_ptr<CStepFormulaItem> makeItem(QWidget* view, bool eliminateBrackets)
{
    auto item = std::make_unique<CStepFormulaItem>(view, ControlIdCounter::Program().Next());
    if (solvehost::CSymbrantCtrl* control = item->GetControl()) {
        control->SetEliminateBrackets(eliminateBrackets);
        control->SetBackColor(oleColor(Qt::white));
    }
    return item;
}

}  // namespace

void FillDescription(CFormulaTextLayout& layout, const std::string& text, QWidget* owner)
{
    layout.RemoveAllItems();
    for (const DescriptionPiece& piece : SplitDescription(text)) {
        switch (piece.kind) {
        case DescriptionPiece::Kind::Text: layout.AddText(QString::fromStdString(piece.text)); break;
        case DescriptionPiece::Kind::Formula: layout.AddFormula(piece.text, owner); break;
        }
    }
}

CSolutionStep::CSolutionStep(QWidget* view, StepKind kind)
    : m_view(view), m_kind(kind), m_formula(makeItem(view, true))
{
    m_description.SetBackColor(themeOle(2));
}

CSolutionStep::~CSolutionStep() = default;

void CSolutionStep::SetDescription(const std::string& text)
{
    m_text = text;
    FillDescription(m_description, text, m_view);
}

void CSolutionStep::layoutDescription(CFormulaTextLayout& layout, int width, const QFont& font, int top, bool force,
                                      int& height)
{
    CFontMetricsMeasurer measurer{QFontMetrics(font)};
    height = layout.Arrange(width, measurer, top, force);
}

void CSolutionStep::placeFormula(CStepFormulaItem& item, int x, int y, int width)
{
    solvehost::CSymbrantCtrl* control = item.GetControl();
    if (!control)
        return;
    control->setGeometry(x, y, std::max(0, std::min(width, item.width)), item.height);
    control->SetGridData(gridPhaseOf(x), gridPhaseOf(y), 20, 20, true, true, static_cast<std::int32_t>(themeOle(2)));
}

int CSolutionStep::Layout(int width, const QFont& font, const QRect& at, int /*gridPhase*/, bool force)
{
    int description = 0;
    layoutDescription(m_description, width, font, at.top(), force, description);
    placeFormula(*m_formula, at.left() + 10, at.top() + description, width);
    const int height = description + m_formula->height;
    rect = QRect(at.left(), at.top(), width, height);
    return height;
}

void CSolutionStep::drawWords(QPainter& painter, const CFormulaTextLayout& layout)
{
    for (const CLayoutItemList::Node* node = layout.Items().head; node; node = node->next) {
        if (node->kind != LayoutItemKind::Text)
            continue;
        const auto* text = static_cast<const CLayoutTextItem*>(node->item);
        if (text->text == QLatin1String("\n") || CFormulaTextLayout::IsSpaceItem(text->text))
            continue;
        painter.drawText(QRect(text->left, text->top, text->Width(), text->Height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text->text);
    }
}

void CSolutionStep::Draw(QPainter& painter) const { drawWords(painter, m_description); }

QRect CSolutionStep::GetBoundingRect() const
{
    QRect bounds = rect;
    if (const solvehost::CSymbrantCtrl* control = m_formula->GetControl())
        bounds = bounds.united(control->geometry());
    return bounds;
}

bool CSolutionStep::HitTest(int x, int y, int width, bool wholeArea) const
{
    const QRect bounds = GetBoundingRect();
    if (wholeArea)
        return y >= bounds.top() && y <= bounds.bottom() && x >= 0 && x < width;
    return bounds.contains(x, y);
}

StepRecord CSolutionStep::Record() const
{
    StepRecord record;
    record.kind = m_kind;
    record.state = state;
    record.executor = executor;
    record.description = m_text;
    if (solvehost::CSymbrantCtrl* formula = control())
        record.formula = formula->GetMathMLText();
    return record;
}

bool CSolutionStep::WriteStep(std::string& out, int id) const
{
    out = stepwell::WriteStep(Record(), id);
    return true;
}

void CSolutionStep::ShowWindows(bool show)
{
    if (solvehost::CSymbrantCtrl* formula = control())
        formula->setVisible(show);
    for (const CLayoutItemList::Node* node = m_description.Items().head; node; node = node->next)
        if (node->kind == LayoutItemKind::Formula)
            if (auto* item = static_cast<solvehost::CLayoutFormulaItem*>(node->item); item->GetControl())
                item->GetControl()->setVisible(show);
}

CTransformationStep::CTransformationStep(QWidget* view)
    : CSolutionStep(view, StepKind::Double), m_transformation(makeItem(view, false))
{
    m_received.SetBackColor(themeOle(2));
    executor = 1;
    if (solvehost::CSymbrantCtrl* result = control())
        result->UseEditor();  // the pupil types the result here
}

void CTransformationStep::SetReceived(const std::string& text)
{
    m_receivedText = text;
    FillDescription(m_received, text, m_view);
}

int CTransformationStep::Layout(int width, const QFont& font, const QRect& at, int /*gridPhase*/, bool force)
{
    int description = 0;
    layoutDescription(m_description, width, font, at.top(), force, description);
    const int left = at.left() + 10;
    const int transformationTop = at.top() + description;
    placeFormula(*m_transformation, left, transformationTop, width);
    const int transformationHeight = m_transformation->height;
    int height = description;
    solvehost::CSymbrantCtrl* result = control();
    if (result && result->GetState() == 2) {
        // Still being typed: the result stands beside the transformation.
        const int x = left + std::min(width, m_transformation->width) + 10;
        const int y = transformationTop + (transformationHeight - m_formula->height) / 2;
        placeFormula(*m_formula, x, y, width - (x - at.left()));
        height += std::max(transformationHeight, m_formula->height);
    } else {
        int received = 0;
        layoutDescription(m_received, width, font, transformationTop + transformationHeight, force, received);
        placeFormula(*m_formula, left, transformationTop + transformationHeight + received, width);
        height += transformationHeight + received + m_formula->height;
    }
    rect = QRect(at.left(), at.top(), width, height);
    return height;
}

void CTransformationStep::Draw(QPainter& painter) const
{
    drawWords(painter, m_description);
    solvehost::CSymbrantCtrl* result = control();
    if (!(result && result->GetState() == 2))
        drawWords(painter, m_received);
}

QRect CTransformationStep::GetBoundingRect() const
{
    QRect bounds = CSolutionStep::GetBoundingRect();
    if (const solvehost::CSymbrantCtrl* transformation = m_transformation->GetControl())
        bounds = bounds.united(transformation->geometry());
    return bounds;
}

StepRecord CTransformationStep::Record() const
{
    StepRecord record = CSolutionStep::Record();
    record.received = m_receivedText;
    if (solvehost::CSymbrantCtrl* transformation = m_transformation->GetControl())
        record.transformation = transformation->GetMathMLText();
    return record;
}

void CTransformationStep::ShowWindows(bool show)
{
    CSolutionStep::ShowWindows(show);
    if (solvehost::CSymbrantCtrl* transformation = m_transformation->GetControl())
        transformation->setVisible(show);
}

}  // namespace stepwell
